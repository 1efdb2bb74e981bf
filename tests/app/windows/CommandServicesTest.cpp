// SPDX-License-Identifier: MIT
// The Windows services under the command line's commands: the library
// watcher, reading a named file, and the lock that keeps one watch per store.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "app/LibraryWatcher.h"
#include "app/RegularFile.h"
#include "app/WatchProcess.h"
#include "platform/NativePath.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(NativePath(path), std::ios::binary) << bytes;
}

TEST(LibraryWatcherTest, StampTellsEveryVersionAndNotificationsCome) {
  testing::TempDir dir;
  const std::string library = dir.File("M\xC3\xBAsica.xml");
  LibraryWatcher watcher(library, true);
  EXPECT_FALSE(watcher.Stamp().exists);
  EXPECT_FALSE(watcher.Wait(50)) << "nothing happened yet";

  Write(library, "one");
  const LibraryStamp first = watcher.Stamp();
  EXPECT_TRUE(first.exists);
  EXPECT_EQ(first.size, 3u);
  EXPECT_TRUE(watcher.Wait(2000)) << "a file made in the folder";

  // Put in place by a rename, as iTunes does: a new file even at one size.
  const std::string next = dir.File("next.xml");
  Write(next, "two");
  ASSERT_TRUE(MoveFileExW(NativePath(next).c_str(), NativePath(library).c_str(), MOVEFILE_REPLACE_EXISTING));
  const LibraryStamp second = watcher.Stamp();
  EXPECT_EQ(second.size, 3u);
  EXPECT_NE(second, first);
  EXPECT_TRUE(watcher.Wait(2000));

  LibraryWatcher polling(library, false);
  EXPECT_FALSE(polling.Wait(10));
  EXPECT_EQ(polling.Stamp(), second);
}

TEST(RegularFileTest, ReadsNamesInUtf8AndRefusesWhatIsNoFile) {
  testing::TempDir dir;
  const std::string file = dir.File("\xCE\xA4\xCE\xB9\xCE\x92\xCE\xBF.reg");
  Write(file, std::string("a\0b\r\n", 5));
  const struct {
    std::string path;
    bool ok;
    std::string bytes;
    std::string error;  // empty: any reason
  } cases[] = {
      {file, true, std::string("a\0b\r\n", 5), ""},
      {Utf8Path(dir.Path()), false, "", "it is not a file"},
      {dir.File("missing.reg"), false, "", ""},
  };
  for (const auto& c : cases) {
    const ReadResult read = ReadRegularFile(c.path);
    EXPECT_EQ(read.ok, c.ok) << c.path;
    EXPECT_EQ(read.bytes, c.bytes) << c.path;
    if (!c.error.empty()) {
      EXPECT_EQ(read.error, c.error) << c.path;
    }
    EXPECT_EQ(read.error.empty(), c.ok) << c.path;
  }
}

TEST(WatchLockTest, OneWatchPerStore) {
  testing::TempDir dir;
  const std::string path = dir.File("new folder\\options.watch.lock");
  {
    WatchLock first(path);
    EXPECT_TRUE(first.Take());
    WatchLock second(path);
    EXPECT_FALSE(second.Take());
  }
  WatchLock again(path);
  EXPECT_TRUE(again.Take());
}

}  // namespace
}  // namespace quorvella
