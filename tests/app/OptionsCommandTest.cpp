// SPDX-License-Identifier: MIT
// quorvella-cli options and tivo: the Options dialog's rules, and what the
// program reads of TiVo Desktop and the plug-in.
#include <gtest/gtest.h>

#include <fstream>

#include "app/CliFixture.h"
#ifdef _WIN32
#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#endif

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

// TiVo Desktop publishes a folder by a shortcut in its shortcut folder: a
// link on Linux, a .lnk made by the shell itself on Windows, as Explorer
// makes one.
void MakeShortcut(const fs::path& target, const fs::path& shortcut) {
#ifdef _WIN32
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&link)), S_OK);
  EXPECT_EQ(link->SetPath(target.c_str()), S_OK);
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  EXPECT_EQ(file->Save(fs::path(shortcut).concat(L".lnk").c_str(), TRUE), S_OK);
  file->Release(), link->Release();
  CoUninitialize();
#else
  fs::create_directory_symlink(target, shortcut);
#endif
}

using OptionsCommandTest = CliTest;

TEST_F(OptionsCommandTest, RefusedChangesStoreNothing) {
  fs::create_directories(root_ / "music");
  const std::string file = WriteFile("notes.txt", "not a folder");
  const std::string mp3 = "quorvella-cli: The file type \"mp3\" must remain checked.\n";
  ExpectRuns({{{"options", "--uncheck", ".MP3", "--playlist-folder", Str(root_ / "music")}, 1, mp3},
              {{"options", "--playlist-folder", file, "--mode", "enhanced"}, 1, "The specified folder does not exist."},
              {{"options", "--playlist-folder", "   "}, 1, "The specified folder does not exist."},
              {{"options", "--check", "flac"},
               1,
               "The file type \"flac\" is not in the list of file types (mp3, aac, wma, ogg)."}});
  EXPECT_FALSE(OptionsStored());
}

TEST_F(OptionsCommandTest, ChangesAreStoredAndShown) {
  const std::string playlists = Str(root_ / "music" / "Playlists");
  fs::create_directories(root_ / "music" / "Playlists");
  ProcessResult result = Run({"options", "--playlist-folder", Str(playlists + "/"), "--delete-empty", "no", "--mode",
                              "Enhanced", "--uncheck", "ogg", "--uncheck", "wma"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // An unpublished folder and enhanced mode without the plug-in bring the
  // dialog's warnings (their wording is the dialog's), without its question.
  EXPECT_TRUE(result.err.starts_with("The playlist folder which you have selected is:\n" + playlists +
                                     "\n\nThis folder has not been published")) << result.err;
  EXPECT_TRUE(result.err.ends_with("Plug-in installed on this computer.\n\n")) << result.err;
  const std::string shown =
      "Playlist folder:      " + playlists +
      "\nDelete empty output:  no\nPublishing mode:      enhanced\n"
      "Playlist encoding:    ansi (.m3u files)\npyTivo configuration: looked for (see quorvella-cli tivo)\n"
      "File types (published in enhanced mode when checked):\n  [x] mp3    MP3 audio files\n"
      "  [x] aac    Protected (.M4A and .M4B) files\n  [ ] wma    Windows Media files\n  [ ] ogg    Ogg Vorbis files\n";
  EXPECT_EQ(result.out, shown);
  // The next start reads what was stored; the folder's trailing separator was dropped.
  result = Run({"options"});
  EXPECT_EQ(result.out + result.err, shown);
  result = Run({"options", "--check", "ogg", "--mode", "standard"});
  EXPECT_TRUE(result.exitCode == 0 && Contains(result.out, "Publishing mode:      standard\n") &&
              Contains(result.out, "  [x] ogg"))
      << result.out << result.err;
}

TEST_F(OptionsCommandTest, PublishedFolderNeedsNoWarningAndTivoShowsIt) {
  const fs::path music = root_ / "music";
  const fs::path shortcuts = data_ / "TiVo Desktop" / "Music";
  fs::create_directories(music / "Playlists");
  ProcessResult result = Run({"tivo"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string tail = "Plug-in configuration program: none recorded\nPlug-in configured:            no\n";
  EXPECT_EQ(result.out, "TiVo Desktop version:          none installed\n"
                        "Release value:                 0 (before 2.3, or none)\n"
                        "TiVo Desktop 2.3 or later:     no\n"
                        "Published music folders (shortcuts in " + Str(shortcuts) + "):\n  none\n"
                        "pyTivo configuration:          none found\n"
                        "Playlist folder:               none chosen\n"
                        "Playlist folder published:     no\n" + tail);

  fs::create_directories(shortcuts);
  MakeShortcut(music, shortcuts / "music");
  result = Run({"options", "--playlist-folder", Str(music / "Playlists")});
  EXPECT_TRUE(result.exitCode == 0 && result.err.empty()) << result.err;  // below a published folder: no warning
  EXPECT_TRUE(Contains(Run({"tivo"}).out, "):\n  " + Str(music) +
                                              "\npyTivo configuration:          none found"
                                              "\nPlaylist folder:               " + Str(music / "Playlists") +
                                              "\nPlaylist folder published:     yes\n" + tail));
}

TEST_F(OptionsCommandTest, ADamagedFileOfOptionsIsReportedOnceAndReadAsDefaults) {
  if (kWindows) GTEST_SKIP() << "the options are kept in a file on POSIX only";
  const std::string store = Str(config_ / "Quorvella" / "registry.reg");
  testing::WriteBytes(store,
                      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\"
                      "Brenlow Software\\Quorvella]\n\"DeleteEmptyOutput\"=\"False\"\n\"PlaylistFolder\n");
  const std::string notice = "quorvella-cli: The settings file \"" + store + "\" is damaged (line 5: ";
  const std::string kept =
      ", so the options are at their defaults.\n\nWhen they are next saved, the damaged file is kept as \"";
  for (const char* command : {"options", "tivo", "list"}) {
    const std::string err = Run({command}).err;
    EXPECT_TRUE(err.starts_with(notice) &&
                Contains(err, kept + store + ".damaged-YYYYMMDD-HHMMSS\" (the date and time of saving).\n") &&
                err.find(notice, 1) == std::string::npos)
        << command << ": " << err;
  }
  EXPECT_TRUE(Contains(Run({"options"}).out, "Delete empty output:  yes\n"));
}

// A file where the configuration folder should be: no user, not even root,
// can create the store below it. The commands that must store something say
// why and fail; the others work as before.
TEST_F(OptionsCommandTest, AnUnwritableStoreFailsOnlyTheCommandsThatStore) {
  if (kWindows) GTEST_SKIP() << "the options are kept in a file on POSIX only";
  fs::remove_all(config_);
  std::ofstream(config_) << "not a folder";
  const std::string store = '"' + Str(config_ / "Quorvella" / "registry.reg").append("\"");
  const std::string problem = ": \"" + Str(config_) + "\" is not a folder.";
  const std::string reg = WriteFile("tivo.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop]\r\n\"Version\"=\"2.3.1\"\r\n");
  ExpectRuns({{{"options", "--delete-empty", "no"}, 1, "The options could not be stored in " + store + problem},
              {{"registry", "import", reg}, 1, "The registry store " + store + " could not be written" + problem}});
  MakeLibrary(3, 40, 3, 5);
  const ProcessResult list = Run({"--library", libraryPath_, "list"});
  EXPECT_TRUE(!list.out.empty() && list.exitCode + Run({"options"}).exitCode == 0) << list.err;
}

}  // namespace
}  // namespace quorvella::test
