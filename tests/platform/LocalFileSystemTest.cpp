// SPDX-License-Identifier: MIT
#include "platform/LocalFileSystem.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;
const auto Names = testing::FileNames;

class LocalFileSystemTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder + "/" + name; }

  testing::TempDir dir;
  std::string folder = dir.Path().string();
  LocalFileSystem files{1252};
  std::string error;  // why a file could not be created
};

// An old file is replaced only when the new one is closed; the lines end in
// CR LF, in the code page or, not composed (the path keeps the bytes of the
// file's name on disk), in UTF-8 as given.
TEST_F(LocalFileSystemTest, TextFilesHoldTheirLinesInTheCodePageOrUtf8) {
  const char* const lines[] = {"#EXTINF:215,Café – 5 €", "Őrült\\日本.mp3",
                               "Rene\xCC\x81" "e.mp3",  // an accent as a combining mark
                               ""};
  const std::string written[] = {
      "#EXTINF:215,Caf\xE9 \x96 5 \x80\r\nOr\xFClt\\??.mp3\r\nRen\xE9" "e.mp3\r\n\r\n",
      "#EXTINF:215,Café – 5 €\r\nŐrült\\日本.mp3\r\nRene\xCC\x81" "e.mp3\r\n\r\n"};
  for (const bool utf8 : {false, true}) {
    const std::string path = Path(utf8 ? "Mix.m3u8" : "Mix.m3u");
    WriteBytes(path, std::string(5000, 'x'));
    auto file = utf8 ? files.CreateUtf8TextFile(path, error) : files.CreateTextFile(path, error);
    ASSERT_NE(file, nullptr);
    for (const char* line : lines) file->WriteLine(line);
    EXPECT_EQ(ReadBytes(path), std::string(5000, 'x'));
    file->Close();
    file->Close();
    EXPECT_THROW(file->WriteLine("late"), std::runtime_error);
    EXPECT_EQ(ReadBytes(path), written[utf8]);
  }
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"Mix.m3u", "Mix.m3u8"}));
}

TEST_F(LocalFileSystemTest, TextFileDestroyedUnclosedKeepsEveryLineOfALongPlaylist) {
  auto file = files.CreateTextFile(Path("Long.m3u"), error);
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    file->WriteLine("Artist " + std::to_string(i) + "\\Song é.mp3");
    expected += "Artist " + std::to_string(i) + "\\Song \xE9.mp3\r\n";
  }
  file.reset();
  EXPECT_EQ(ReadBytes(Path("Long.m3u")), expected);
}

// Where the room runs out while a playlist is written over an old one (here
// a limit on the size of a file, which needs no mount), the write fails
// naming the file and the old file is all that is left: a short playlist
// fails when its buffer is written at Close, a long one at the line that
// fills the buffer.
TEST_F(LocalFileSystemTest, AFullDiskLeavesNoCutOffPlaylist) {
  const std::string path = Path("Mix.m3u");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{16 * 1024, saved.rlim_max};
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  for (const int lines : {20, 1000}) {
    WriteBytes(path, "old");
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    auto file = files.CreateTextFile(path, error);
    ASSERT_NE(file, nullptr);
    std::string message;
    try {
      for (int i = 0; i < lines; ++i) file->WriteLine(std::string(1000, 'x'));
      file->Close();
    } catch (const std::runtime_error& failure) {
      message = failure.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_NE(message.find(path), std::string::npos) << lines << " lines: " << message;
    EXPECT_THROW(file->WriteLine("late"), std::runtime_error) << "a failed file stays failed";
    file.reset();
    EXPECT_EQ(ReadBytes(path), "old");
  }
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(Names(folder), std::vector<std::string>{"Mix.m3u"});
}

TEST_F(LocalFileSystemTest, OnlyLocalFilesAndFoldersExistAndOtherPathsNameNothingHere) {
  WriteBytes(Path("Mix.m3u"), "x");
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink(Path("gone").c_str(), Path("dangling").c_str()), 0);
  const std::string elsewhere[] = {"D:\\Lists\\Mix.m3u", "Mix.m3u", "\\\\nas\\music\\Mix.m3u"};
  const std::pair<std::string, bool> cases[] = {
      {Path("Mix.m3u"), true}, {Path("sub"), true}, {Path("sub/"), true},
      // A doubled separator names the same file, also at the root.
      {folder + "//Mix.m3u", true}, {"/" + folder, true},
      {Path("b.m3u"), false}, {Path("dangling"), false}, {"", false},
      {elsewhere[0], false}, {elsewhere[1], false}, {elsewhere[2], false}};
  // Run from inside the test's folder: nothing may appear in it.
  const std::string before = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  for (const auto& [path, exists] : cases) EXPECT_EQ(files.PathExists(path), exists) << path;
  for (const auto& [path, reason] : {std::pair{Path("missing/a.m3u"), "No such file or directory"},
                                     {Path("sub"), "Is a directory"}}) {
    EXPECT_EQ(files.CreateTextFile(path, error), nullptr) << path;
    EXPECT_EQ(error, reason);
  }
  for (const std::string& path : elsewhere) {
    EXPECT_EQ(files.CreateTextFile(path, error), nullptr) << path;
    EXPECT_EQ(files.MoveToTrash(path), TrashResult::Failed) << path;
    EXPECT_FALSE(files.RemoveFile(path)) << path;
  }
  std::filesystem::current_path(before);
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"Mix.m3u", "dangling", "sub"}));
  EXPECT_EQ(ReadBytes(Path("Mix.m3u")), "x");
}

}  // namespace
}  // namespace quorvella
