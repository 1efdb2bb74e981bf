// SPDX-License-Identifier: MIT
#include "platform/posix/SpareFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

using namespace std::chrono_literals;

// Waits for the thread to have one ready, as a writer busy with its songs
// would.
template <typename Take>
int TakeReady(Take take, int tries = 300) {
  for (int i = 0; i < tries; ++i) {
    if (const int fd = take(); fd >= 0) return fd;
    std::this_thread::sleep_for(10ms);
  }
  return -1;
}

// How many unnamed files this process holds open in folder.
int OpenIn(const std::string& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ignored;
    const std::string target = std::filesystem::read_symlink(entry.path(), ignored).string();
    if (target.starts_with(folder) && target.ends_with(" (deleted)")) ++count;
  }
  return count;
}

// A spare file becomes a named file with its bytes only when named; those
// not taken are closed when the folder changes or the writer goes idle, and
// a folder without them is answered with -1.
TEST(SpareFilesTest, MadeAheadNamedOnDemandAndClosedWhenIdle) {
  testing::TempDir dir, other;
  const std::string folder = dir.Path().string() + "/";
  SpareFiles spares(100ms);
  EXPECT_EQ(spares.Take(folder), -1) << "the first of a folder is the writer's own";

  const int fd = TakeReady([&] { return spares.Take(folder); });
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "bytes", 5), 5);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "unnamed until named";
  ASSERT_TRUE(NameSpareFile(fd, folder + "a.m3u"));
  testing::WriteBytes(folder + "b.m3u", "old");
  errno = 0;
  EXPECT_FALSE(NameSpareFile(fd, folder + "b.m3u"));
  EXPECT_EQ(errno, EEXIST);
  ::close(fd);
  EXPECT_EQ(testing::ReadBytes(folder + "a.m3u"), "bytes");

  // Two wait ahead; another folder ends them, and going idle ends the rest.
  for (int i = 0; i < 300 && OpenIn(folder) < 2; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(OpenIn(folder), 2);
  const std::string next = other.Path().string() + "/";
  EXPECT_EQ(spares.Take(next), -1);
  EXPECT_EQ(OpenIn(folder), 0);
  std::this_thread::sleep_for(400ms);
  EXPECT_EQ(OpenIn(next), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);

  // A folder that is not there: the writer's own open tells why.
  const std::string missing = folder + "missing/";
  spares.Take(missing);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(spares.Take(missing), -1);
}

// Where a spare cannot be linked (here: to a name on another file system),
// its bytes are copied once, and the program makes no more spares.
TEST(SpareFilesTest, OneThatCannotBeLinkedIsCopied) {
  testing::TempDir dir;
  const std::string folder = dir.Path().string() + "/";
  const std::string elsewhere = "/dev/shm/quorvella-spare-" + std::to_string(::getpid());
  struct stat here {}, there {};
  if (::stat(folder.c_str(), &here) != 0 || ::stat("/dev/shm", &there) != 0 ||
      here.st_dev == there.st_dev) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  SpareFiles spares(100ms);
  spares.Take(folder);
  const int fd = TakeReady([&] { return spares.Take(folder); });
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "bytes", 5), 5);
  EXPECT_TRUE(NameSpareFile(fd, elsewhere));
  ::close(fd);
  EXPECT_EQ(testing::ReadBytes(elsewhere), "bytes");
  std::filesystem::remove(elsewhere);
  EXPECT_EQ(TakeReady([&] { return TakeSpareFile(folder); }, 30), -1);
}

}  // namespace
}  // namespace quorvella
