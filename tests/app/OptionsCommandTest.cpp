// SPDX-License-Identifier: MIT
// quorvella-cli options and tivo: the Options dialog's rules, and what the
// program reads of TiVo Desktop and the plug-in.
#include <gtest/gtest.h>

#include <fstream>

#include "app/CliFixture.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

class OptionsCommandTest : public CliTest {
 protected:
  fs::path RegistryFile() const { return config_ / "Quorvella" / "registry.reg"; }
};

TEST_F(OptionsCommandTest, RefusedChangesStoreNothing) {
  const fs::path music = root_ / "music";
  fs::create_directories(music);
  const std::string file = WriteFile("notes.txt", "not a folder");
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"--uncheck", "mp3"}, "The file type \"mp3\" must remain checked."},
      {{"--uncheck", ".MP3", "--playlist-folder", music.string()},
       "The file type \"mp3\" must remain checked."},
      {{"--playlist-folder", (root_ / "nowhere").string()}, "The specified folder does not exist."},
      {{"--playlist-folder", file, "--mode", "enhanced"}, "The specified folder does not exist."},
      {{"--playlist-folder", "   "}, "The specified folder does not exist."},
      {{"--check", "flac"},
       "The file type \"flac\" is not in the list of file types (mp3, aac, wma, ogg)."},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"options"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult result = Run(args);
    EXPECT_EQ(result.exitCode, 1) << c.error;
    EXPECT_EQ(result.err, "quorvella-cli: " + c.error + "\n");
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(RegistryFile())) << c.error;
  }
}

TEST_F(OptionsCommandTest, ChangesAreStoredAndShown) {
  const fs::path playlists = root_ / "music" / "Playlists";
  fs::create_directories(playlists);
  ProcessResult result =
      Run({"options", "--playlist-folder", playlists.string() + "/", "--delete-empty", "no",
           "--mode", "Enhanced", "--uncheck", "ogg", "--uncheck", "wma"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // An unpublished folder and enhanced mode without the plug-in bring the
  // dialog's warnings (their wording is the dialog's), without its question.
  EXPECT_TRUE(result.err.starts_with("The playlist folder which you have selected is:\n" +
                                     playlists.string() + "\n\nThis folder has not been published"))
      << result.err;
  EXPECT_TRUE(result.err.ends_with("Plug-in installed on this computer.\n\n")) << result.err;
  const std::string shown = "Playlist folder:      " + playlists.string() +
                            "\n"
                            "Delete empty output:  no\n"
                            "Publishing mode:      enhanced\n"
                            "Playlist encoding:    ansi (.m3u files)\n"
                            "pyTivo configuration: looked for (see quorvella-cli tivo)\n"
                            "File types (published in enhanced mode when checked):\n"
                            "  [x] mp3    MP3 audio files\n"
                            "  [x] aac    Protected (.M4A and .M4B) files\n"
                            "  [ ] wma    Windows Media files\n"
                            "  [ ] ogg    Ogg Vorbis files\n";
  EXPECT_EQ(result.out, shown);

  // The next start reads what was stored; the folder's trailing slash was
  // dropped.
  result = Run({"options"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, shown);
  EXPECT_EQ(result.err, "");

  result = Run({"options", "--check", "ogg", "--mode", "standard"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(Contains(result.out, "Publishing mode:      standard\n")) << result.out;
  EXPECT_TRUE(Contains(result.out, "  [x] ogg")) << result.out;
  EXPECT_EQ(result.err, "");
}

TEST_F(OptionsCommandTest, ADamagedFileOfOptionsIsReportedOnceAndReadAsDefaults) {
  fs::create_directories(RegistryFile().parent_path());
  std::ofstream(RegistryFile(), std::ios::binary)
      << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Brenlow "
         "Software\\Quorvella]\n\"DeleteEmptyOutput\"=\"False\"\n\"PlaylistFolder\n";
  const std::string notice =
      "quorvella-cli: The settings file \"" + RegistryFile().string() + "\" is damaged (line 5: ";
  for (const char* command : {"options", "tivo", "list"}) {
    const ProcessResult result = Run({command});
    EXPECT_TRUE(result.err.starts_with(notice)) << command << ": " << result.err;
    EXPECT_TRUE(Contains(result.err,
                         ", so the options are at their defaults.\n\nWhen they are "
                         "next saved, the damaged file is kept as \"" +
                             RegistryFile().string() + ".damaged-YYYYMMDD-HHMMSS\""))
        << result.err;
    EXPECT_EQ(result.err.find(notice, 1), std::string::npos) << command << ": told twice";
    if (std::string(command) == "options") {
      EXPECT_EQ(result.exitCode, 0);
      EXPECT_TRUE(Contains(result.out, "Delete empty output:  yes\n")) << result.out;
    }
  }
}

TEST_F(OptionsCommandTest, PublishedFolderNeedsNoWarningAndTivoShowsIt) {
  const fs::path music = root_ / "music";
  fs::create_directories(music / "Playlists");
  ProcessResult result = Run({"tivo"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "TiVo Desktop version:          none installed\n"
            "Release value:                 0 (before 2.3, or none)\n"
            "TiVo Desktop 2.3 or later:     no\n"
            "Published music folders (shortcuts in " +
                (data_ / "TiVo Desktop" / "Music").string() +
                "):\n"
                "  none\n"
                "pyTivo configuration:          none found\n"
                "Playlist folder:               none chosen\n"
                "Playlist folder published:     no\n"
                "Plug-in configuration program: none recorded\n"
                "Plug-in configured:            no\n");

  // TiVo Desktop publishes a folder by a link in its shortcut folder.
  fs::create_directories(data_ / "TiVo Desktop" / "Music");
  fs::create_directory_symlink(music, data_ / "TiVo Desktop" / "Music" / "music");
  result = Run({"options", "--playlist-folder", (music / "Playlists").string()});
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");  // below a published folder: no warning

  result = Run({"tivo"});
  EXPECT_TRUE(Contains(result.out, "):\n  " + music.string() +
                                       "\npyTivo configuration:          none found"
                                       "\nPlaylist folder:               " +
                                       (music / "Playlists").string() +
                                       "\nPlaylist folder published:     yes\n"))
      << result.out;
}

// A file where the configuration folder should be: no user, not even root,
// can create the store below it. The commands that must store something say
// why and fail; the others work as before.
TEST_F(OptionsCommandTest, AnUnwritableStoreFailsOnlyTheCommandsThatStore) {
  fs::remove_all(config_);
  std::ofstream(config_) << "not a folder";
  // Appended: GCC 12 warns falsely (-Wrestrict) on "\"" + ...
  std::string problem = "\"";
  problem += config_.string() + "\" is not a folder.";
  std::string store = "\"";
  (store += RegistryFile().string()) += '"';
  const std::string reg = WriteFile(
      "tivo.reg",
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop]\r\n\"Version\"=\"2.3.1\"\r\n");
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"options", "--delete-empty", "no"},
       "The options could not be stored in " + store + ": " + problem},
      {{"registry", "import", reg},
       "The registry store " + store + " could not be written: " + problem},
  };
  for (const auto& [args, error] : refused) {
    const ProcessResult result = Run(args);
    EXPECT_EQ(result.exitCode, 1) << args.front();
    EXPECT_TRUE(Contains(result.err, error)) << result.err;
    EXPECT_EQ(result.out, "") << args.front();
  }
  MakeLibrary(3, 40, 3, 5);
  const ProcessResult list = Run({"--library", libraryPath_, "list"});
  EXPECT_EQ(list.exitCode, 0) << list.err;
  EXPECT_FALSE(list.out.empty());
  const ProcessResult options = Run({"options"});
  EXPECT_EQ(options.exitCode, 0) << options.err;
  EXPECT_TRUE(Contains(options.out, "Delete empty output:  yes")) << options.out;
}

}  // namespace
}  // namespace quorvella::test
