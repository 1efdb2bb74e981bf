// SPDX-License-Identifier: MIT
#include "platform/posix/SpareFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/AnsiTextFile.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

using namespace std::chrono_literals;

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

int OpenInSoon(const std::string& folder, int expected) {
  for (int i = 0; i < 500 && OpenIn(folder) != expected; ++i) std::this_thread::sleep_for(10ms);
  return OpenIn(folder);
}

// A spare file becomes a named file with its bytes only when named; two wait
// ahead (as many as a prepared run will take), and those not taken are closed
// when the folder changes or the writer goes idle; a folder that takes none is
// answered with -1, and not tried again and again meanwhile.
TEST(SpareFilesTest, MadeAheadNamedOnDemandAndClosedWhenIdle) {
  testing::TempDir dir, other;
  const std::string folder = dir.Path().string() + "/";
  // Idle long enough that a busy machine still sees the spares before they go.
  SpareFiles spares(500ms);
  const int fd = spares.Take(folder);
  ASSERT_GE(fd, 0) << "the first is made when taken";
  ASSERT_EQ(::write(fd, "bytes", 5), 5);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path())) << "unnamed until named";
  ASSERT_TRUE(NameSpareFile(fd, folder + "a.m3u"));
  testing::WriteBytes(folder + "b.m3u", "old");
  errno = 0;
  EXPECT_FALSE(NameSpareFile(fd, folder + "b.m3u"));
  EXPECT_EQ(errno, EEXIST);
  ::close(fd);
  EXPECT_EQ(testing::ReadBytes(folder + "a.m3u"), "bytes");
  EXPECT_EQ(OpenInSoon(folder, 2), 2);

  const std::string next = other.Path().string() + "/";
  ::close(spares.Take(next));
  EXPECT_EQ(OpenIn(folder), 0);
  EXPECT_EQ(OpenInSoon(next, 2), 2);
  EXPECT_EQ(OpenInSoon(next, 0), 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);

  const std::string missing = folder + "missing/";
  EXPECT_EQ(spares.Take(missing), -1);
  const std::clock_t before = std::clock();
  std::this_thread::sleep_for(300ms);
  EXPECT_LT(std::clock() - before, CLOCKS_PER_SEC / 20) << "the thread keeps trying";
  EXPECT_EQ(spares.Take(missing), -1);

  // Prepared for a run: as many as it will write, kept while the library is read.
  SpareFiles prepared(50ms);
  prepared.Prepare(folder, 5);
  EXPECT_EQ(OpenInSoon(folder, 5), 5);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(OpenIn(folder), 5);
  ::close(prepared.Take(folder));
  EXPECT_EQ(OpenInSoon(folder, 0), 0) << "closed once the run is idle";
}

// Where a spare cannot be linked (here: to a name on another file system),
// its bytes are copied once, and the program's files are made under their
// names from then on, as where the folder's file system has no unnamed files.
TEST(SpareFilesTest, OneThatCannotBeLinkedIsCopiedThenFilesAreMadeNamed) {
  testing::TempDir dir;
  const std::string folder = dir.Path().string() + "/";
  const std::string elsewhere = "/dev/shm/quorvella-spare-" + std::to_string(::getpid());
  struct stat here {}, there {};
  if (::stat(folder.c_str(), &here) != 0 || ::stat("/dev/shm", &there) != 0 ||
      here.st_dev == there.st_dev) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  const int fd = TakeSpareFile(folder);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "bytes", 5), 5);
  EXPECT_TRUE(NameSpareFile(fd, elsewhere));
  ::close(fd);
  EXPECT_EQ(testing::ReadBytes(elsewhere), "bytes");
  std::filesystem::remove(elsewhere);

  EXPECT_EQ(TakeSpareFile(folder), -1);
  std::string error;
  auto file = AnsiTextFile::Create(folder + "Mix.m3u", kUtf8CodePage, error);
  ASSERT_NE(file, nullptr) << error;
  file->WriteLine("song.mp3");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "a named part";
  file->Close();
  EXPECT_EQ(testing::ReadBytes(folder + "Mix.m3u"), "song.mp3\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace quorvella
