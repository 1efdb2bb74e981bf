// SPDX-License-Identifier: MIT
// The Windows file services on the real file system: code-page files
// through the system's own conversion, existence through the attributes,
// the Recycle Bin through the shell, programs through CreateProcess.
#include "platform/LocalFileSystem.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "platform/ProgramStart.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

class WindowsFileSystemTest : public ::testing::Test {
 protected:
  // Built from UTF-8 explicitly: a path from a narrow string would be read
  // in the ANSI code page.
  static std::filesystem::path Native(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  }
  std::string Path(const std::string& name) const { return folder + "\\" + name; }

  testing::TempDir dir;
  std::string folder = dir.Path().string();
  LocalFileSystem files{1252};
  std::string error;
};

// The system's best fit: the letter's own, "?" for the arrow; a decomposed é
// is composed first, a byte that is not UTF-8 is "?". The file is whole only
// when its bytes are the encoded lines.
TEST_F(WindowsFileSystemTest, TextFileHoldsCodePageBytesWithTheSystemsBestFit) {
  const std::string path = Path("Whole ā.m3u");
  const std::vector<std::string> lines = {"Café", "ā → b", "e\xCC\x81", "\xFF!"};
  auto file = files.CreateTextFile(path, error);
  ASSERT_NE(file, nullptr) << error;
  for (const auto& line : lines) file->WriteLine(line);
  file->Close();
  EXPECT_EQ(ReadBytes(Native(path)), "Caf\xE9\r\na ? b\r\n\xE9\r\n?!\r\n");
  EXPECT_TRUE(files.HoldsTextFile(path, lines, false));
  EXPECT_FALSE(files.HoldsTextFile(path, lines, true));  // UTF-8 bytes differ
  EXPECT_FALSE(files.HoldsTextFile(path, {"Café", "a ? c", "é", "?!"}, false));
  EXPECT_FALSE(files.HoldsTextFile(path, {"Café"}, false));
  EXPECT_FALSE(files.HoldsTextFile(Path("missing.m3u"), {}, false));
}

TEST_F(WindowsFileSystemTest, AFileWithANonAsciiNameReplacesTheOldOneWhenClosed) {
  const std::string path = Path("Ünïcode ā.m3u");
  WriteBytes(Native(path), "old");
  auto file = files.CreateUtf8TextFile(path, error);
  ASSERT_NE(file, nullptr) << error;
  file->WriteLine("ā");
  EXPECT_EQ(ReadBytes(Native(path)), "old");  // until it is closed
  file->Close();
  EXPECT_EQ(ReadBytes(Native(path)), "\xC4\x81\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
      << "nothing but the playlist is left in the folder";
}

TEST_F(WindowsFileSystemTest, FilesAndFoldersExistAndOtherPathsNameNothing) {
  std::filesystem::create_directory(Native(Path("Folder.m3u")));
  EXPECT_EQ(files.CreateTextFile(Path("Folder.m3u"), error), nullptr);
  EXPECT_FALSE(error.empty());
  for (const std::string path : {"/tmp/Mix.m3u", "Mix.m3u", "Lists\\Mix.m3u"}) {
    EXPECT_EQ(files.CreateTextFile(path, error), nullptr) << path;
    EXPECT_FALSE(files.PathExists(path)) << path;
  }
  WriteBytes(Native(Path("a ā.m3u")), "x");
  EXPECT_TRUE(files.PathExists(Path("a ā.m3u")));
  EXPECT_TRUE(files.PathExists(folder));
  EXPECT_TRUE(files.PathExists(folder + "\\"));
  EXPECT_FALSE(files.PathExists(Path("b.m3u")));
  EXPECT_FALSE(files.PathExists(""));
  EXPECT_TRUE(files.RemoveFile(Path("a ā.m3u")));
  EXPECT_FALSE(files.PathExists(Path("a ā.m3u")));
  EXPECT_FALSE(files.RemoveFile(Path("a ā.m3u")));
  // An old playlist goes to the Recycle Bin.
  WriteBytes(Native(Path("Old ā.m3u")), "x");
  EXPECT_EQ(files.MoveToTrash(Path("Old ā.m3u")), TrashResult::Moved);
  EXPECT_FALSE(files.PathExists(Path("Old ā.m3u")));
}

TEST(WindowsProgramStart, StartsAProgramWithItsArgumentsOrSaysWhyNot) {
  const auto missing = StartCommandLine("C:\\no such folder\\nothing.exe");
  ASSERT_TRUE(missing.has_value());
  EXPECT_FALSE(missing->empty());
  EXPECT_TRUE(StartDetached({"C:\\no such folder\\nothing.exe", {"a b"}}).has_value());
  testing::TempDir dir;
  const std::string marker = dir.File("started");
  // The program's own folder search finds cmd; it makes the folder it is told.
  ASSERT_FALSE(StartDetached({"cmd.exe", {"/c", "mkdir", marker}}).has_value());
  for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) Sleep(50);
  EXPECT_TRUE(std::filesystem::exists(marker));
}

}  // namespace
}  // namespace quorvella
