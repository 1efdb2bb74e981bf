// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "library/xml/LibraryLocation.h"
#include "library/xml/LibraryTestFiles.h"
#include "settings/MemoryRegistry.h"

namespace quorvella {
namespace {

using testing::TempDir;
using testing::WriteBytes;
using ::testing::ThrowsMessage;

class LibraryLocationTest : public ::testing::Test {
 protected:
  Environment Env() {
    return [this](const char* name) { return env_.count(name) != 0 ? env_.at(name) : std::string(); };
  }
  std::string Home(std::string_view rest) { return home_ + std::string(rest); }

  TempDir dir_;
  std::string home_ = dir_.File("home");
  // The library's two names in the home's Music folder.
  const std::vector<std::string> inHome_ = {Home("/Music/iTunes/iTunes Library.xml"),
                                            Home("/Music/iTunes/iTunes Music Library.xml")};
  std::map<std::string, std::string> env_{{"HOME", home_}};
  MemoryRegistry store_;
  RegUtil reg_{store_};
};

TEST_F(LibraryLocationTest, CandidatesComeInOrderOfPreferenceOnceEach) {
  env_["QUORVELLA_ITUNES_LIBRARY"] = "/env/lib.xml";
  env_["XDG_MUSIC_DIR"] = "/data/Tunes/";
  RememberITunesLibraryPath(reg_, "/chosen/Library.xml");
  EXPECT_EQ(ITunesLibraryCandidates("/given.xml", reg_, Env()),
            (std::vector<std::string>{"/given.xml", "/env/lib.xml", "/chosen/Library.xml", inHome_[0],
                                      inHome_[1], "/data/Tunes/iTunes/iTunes Library.xml",
                                      "/data/Tunes/iTunes/iTunes Music Library.xml"}));
  EXPECT_EQ(reg_.RegGetString(Hive::CurrentUser, "Software\\Brenlow Software\\Quorvella\\Library",
                              "XmlPath"),
            "/chosen/Library.xml");

  // What is not set is left out, and nothing is listed twice.
  env_["QUORVELLA_ITUNES_LIBRARY"] = inHome_[0];
  env_["XDG_MUSIC_DIR"] = Home("/Music");
  EXPECT_EQ(ITunesLibraryCandidates("", reg_, Env()),
            (std::vector<std::string>{inHome_[0], "/chosen/Library.xml", inHome_[1]}));
  env_.clear();
  EXPECT_EQ(ITunesLibraryCandidates("", reg_, Env()),
            std::vector<std::string>{"/chosen/Library.xml"});
}

TEST_F(LibraryLocationTest, TheMusicFolderComesFromUserDirsWhenTheEnvironmentHasNone) {
  const std::pair<const char*, std::string> cases[] = {
      {"# comment\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n", Home("/Musik")},
      {"  XDG_MUSIC_DIR=\"/srv/music/\"\n", "/srv/music"},
      {"XDG_MUSIC_DIR=\"$HOME/\"\n", ""},  // the desktop's way of saying "none"
      {"XDG_MUSIC_DIR=\"relative\"\n", ""},
      {"XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n", ""},
  };
  for (const auto& [content, music] : cases) {
    WriteBytes(Home("/.config/user-dirs.dirs"), content);
    std::vector<std::string> expected = inHome_;
    if (!music.empty()) {
      expected.insert(expected.end(), {music + "/iTunes/iTunes Library.xml",
                                       music + "/iTunes/iTunes Music Library.xml"});
    }
    EXPECT_EQ(ITunesLibraryCandidates("", reg_, Env()), expected) << content;
  }

  env_["XDG_CONFIG_HOME"] = dir_.File("config");
  WriteBytes(dir_.File("config/user-dirs.dirs"), "XDG_MUSIC_DIR=\"/elsewhere\"\n");
  EXPECT_EQ(ITunesLibraryCandidates("", reg_, Env()).back(),
            "/elsewhere/iTunes/iTunes Music Library.xml");
}

TEST_F(LibraryLocationTest, OpensTheFirstFileThatExistsOrSaysWhichWereTried) {
  EXPECT_THAT([&] { OpenITunesLibrary("/given.xml", reg_, Env()); },
              ThrowsMessage<LibraryError>("No iTunes library file was found. These files were looked for:"
                                          "\n/given.xml\n" + inHome_[0] + "\n" + inHome_[1]));

  WriteBytes(inHome_[1], testing::LibraryXml("", ""));
  std::filesystem::create_directories(inHome_[0]);  // a folder
  env_["QUORVELLA_ITUNES_LIBRARY"] = dir_.File("gone.xml");
  EXPECT_EQ(OpenITunesLibrary("", reg_, Env())->Path(), inHome_[1]);

  WriteBytes(dir_.File("chosen.xml"), "not xml");
  RememberITunesLibraryPath(reg_, dir_.File("chosen.xml"));
  EXPECT_THROW(OpenITunesLibrary("", reg_, Env()), LibraryError)
      << "the first file found is the library, even when it cannot be read";
}

}  // namespace
}  // namespace quorvella
