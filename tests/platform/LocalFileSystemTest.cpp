// SPDX-License-Identifier: MIT
#include "platform/LocalFileSystem.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "support/TempDir.h"

namespace quorvella {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class LocalFileSystemTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder + "/" + name; }

  testing::TempDir dir;
  std::string folder = dir.Path().string();
  LocalFileSystem files{1252};
};

TEST_F(LocalFileSystemTest, TextFileHoldsCodePageBytesWithCrLf) {
  const std::string path = Path("Mix.m3u");
  WriteBytes(path, std::string(5000, 'x'));  // an old file is emptied first
  auto file = files.CreateTextFile(path);
  ASSERT_NE(file, nullptr);
  file->WriteLine("#EXTM3U");
  file->WriteLine("#EXTINF:215,Café – 5 €");
  file->WriteLine("Őrült\\日本.mp3");
  file->WriteLine("Rene\xCC\x81" "e.mp3");  // an accent spelled as a combining mark
  file->WriteLine("");
  file->Close();
  EXPECT_EQ(ReadBytes(path),
            "#EXTM3U\r\n"
            "#EXTINF:215,Caf\xE9 \x96 5 \x80\r\n"
            "Or\xFClt\\??.mp3\r\n"
            "Ren\xE9" "e.mp3\r\n"
            "\r\n");
}

TEST_F(LocalFileSystemTest, Utf8FileHoldsTheLinesAsGivenWithCrLf) {
  const std::string path = Path("Mix.m3u8");
  WriteBytes(path, std::string(5000, 'x'));
  auto file = files.CreateUtf8TextFile(path);
  ASSERT_NE(file, nullptr);
  file->WriteLine("#EXTM3U");
  // Not composed: the path keeps the bytes of the file's name on disk.
  file->WriteLine("Rene\xCC\x81" "e \xE6\x97\xA5\xE6\x9C\xAC.mp3");
  file->Close();
  EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nRene\xCC\x81" "e \xE6\x97\xA5\xE6\x9C\xAC.mp3\r\n");
  EXPECT_EQ(files.CreateUtf8TextFile("Mix.m3u8"), nullptr);
}

TEST_F(LocalFileSystemTest, TextFileKeepsEveryLineOfALongPlaylist) {
  const std::string path = Path("Long.m3u");
  std::string expected;
  {
    auto file = files.CreateTextFile(path);
    ASSERT_NE(file, nullptr);
    for (int i = 0; i < 20000; ++i) {
      const std::string line = "Artist " + std::to_string(i) + "\\Song é.mp3";
      file->WriteLine(line);
      expected += "Artist " + std::to_string(i) + "\\Song \xE9.mp3\r\n";
    }
    // Not closed: going out of scope writes what is left.
  }
  EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(LocalFileSystemTest, TextFileRefusesWritesAfterClose) {
  auto file = files.CreateTextFile(Path("a.m3u"));
  ASSERT_NE(file, nullptr);
  file->Close();
  file->Close();
  EXPECT_THROW(file->WriteLine("late"), std::runtime_error);
}

TEST_F(LocalFileSystemTest, TextFileCannotBeCreatedInAMissingFolder) {
  EXPECT_EQ(files.CreateTextFile(Path("missing/a.m3u")), nullptr);
}

TEST_F(LocalFileSystemTest, WriteFailureOnAFullDiskThrows) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  // A short playlist fails when the buffer is written, at Close.
  auto shortFile = files.CreateTextFile("/dev/full");
  ASSERT_NE(shortFile, nullptr);
  shortFile->WriteLine("#EXTM3U");
  EXPECT_THROW(shortFile->Close(), std::runtime_error);

  // A long one fails at the line that fills the buffer, and stays failed.
  auto longFile = files.CreateTextFile("/dev/full");
  ASSERT_NE(longFile, nullptr);
  const std::string line(1000, 'x');
  bool failed = false;
  for (int i = 0; i < 1000 && !failed; ++i) {
    try {
      longFile->WriteLine(line);
    } catch (const std::runtime_error& error) {
      failed = true;
      EXPECT_NE(std::string(error.what()).find("/dev/full"), std::string::npos);
    }
  }
  EXPECT_TRUE(failed);
  EXPECT_THROW(longFile->WriteLine(line), std::runtime_error);
}

TEST_F(LocalFileSystemTest, PathExistsForFilesAndFoldersOnly) {
  WriteBytes(Path("a.m3u"), "x");
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink(Path("gone").c_str(), Path("dangling").c_str()), 0);
  EXPECT_TRUE(files.PathExists(Path("a.m3u")));
  EXPECT_TRUE(files.PathExists(Path("sub")));
  EXPECT_TRUE(files.PathExists(Path("sub/")));
  EXPECT_FALSE(files.PathExists(Path("b.m3u")));
  EXPECT_FALSE(files.PathExists(Path("dangling")));
  EXPECT_FALSE(files.PathExists(""));
  // A doubled separator names the same file, also at the root.
  EXPECT_TRUE(files.PathExists(folder + "//a.m3u"));
  EXPECT_TRUE(files.PathExists("/" + folder));
}

TEST_F(LocalFileSystemTest, WindowsAndRelativePathsNameNothingHere) {
  // Run from inside the test's folder: nothing may appear in it.
  const std::string before = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  for (const std::string path : {"D:\\Lists\\Mix.m3u", "Mix.m3u", "\\\\nas\\music\\Mix.m3u"}) {
    WriteBytes(Path("Mix.m3u"), "x");
    EXPECT_EQ(files.CreateTextFile(path), nullptr) << path;
    EXPECT_FALSE(files.PathExists(path)) << path;
    EXPECT_EQ(files.MoveToTrash(path), TrashResult::Failed) << path;
    EXPECT_FALSE(files.RemoveFile(path)) << path;
  }
  std::filesystem::current_path(before);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"Mix.m3u"});
}

}  // namespace
}  // namespace quorvella
