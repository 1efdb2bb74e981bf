// SPDX-License-Identifier: MIT
#include "platform/posix/SpareFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <thread>
#include <unistd.h>

#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

using namespace std::chrono_literals;

// Waits for the thread to have one ready, as a writer busy with its songs
// would.
int TakeReady(SpareFiles& spares, const std::string& folder) {
  for (int i = 0; i < 300; ++i) {
    if (const int fd = spares.Take(folder); fd >= 0) return fd;
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

  const int fd = TakeReady(spares, folder);
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

}  // namespace
}  // namespace quorvella
