// SPDX-License-Identifier: MIT
// Which written songs the server will still not play: outside the pyTivo
// share that holds the playlist folder, or with names the playlist's code
// page cannot hold.
#include "engine/ServerReach.h"

#include <gtest/gtest.h>

#include "engine/MainController.h"
#include "settings/MemoryRegistry.h"
#include "settings/Settings.h"
#include "support/FakeFileSystem.h"
#include "support/FakeLibrary.h"
#include "support/FakeMainWindow.h"

namespace quorvella {
namespace {

using test::FakeFileSystem;
using test::FakeITunes;
using test::RecordingBoxes;
using test::RecordingDesktop;
using test::RecordingView;
using test::ScriptedPump;
using test::Track;

const MusicShare kMusic{"Music", "/srv/music"};

TEST(ServerReachTest, EntriesResolveAsPyTivoJoinsAndNormalisesThem) {
  ServerReach reach("/srv/music/Playlists", kMusic, PlaylistEncoding::Ansi, 1252);
  const struct {
    const char* line;
    bool inShare;
  } cases[] = {
      {"a.mp3", true},
      {"Rock/b.mp3", true},
      {"../Rock/b.mp3", true},  // ".." that stays inside the share
      {"../../music/Rock/b.mp3", true},
      {"../", true},  // the share's root itself
      {"../../other/c.mp3", false},
      {"../../musical/c.mp3", false},  // beside the share, its name running on
      {"../../Music/c.mp3", false},    // letter case counts here
      {"/srv/music/Jazz/d.mp3", true},  // an absolute path stands on its own
      {"/home/u/d.mp3", false},
      {"../../../../../srv/music/e.mp3", true},  // ".." at the root stays there
      {"./Rock/./f.mp3", true},
  };
  for (const auto& c : cases) EXPECT_EQ(reach.InShare(c.line), c.inShare) << c.line;

  // Without a share, or for a folder of the other dialect, nothing is outside.
  ServerReach noShare("/srv/music/Playlists", std::nullopt, PlaylistEncoding::Ansi, 1252);
  EXPECT_TRUE(noShare.InShare("../../other/c.mp3"));
  ServerReach windows("D:\\Lists", kMusic, PlaylistEncoding::Ansi, 1252);
  EXPECT_TRUE(windows.InShare("..\\..\\x.mp3"));
  ServerReach rootShare("/srv/music/Playlists", MusicShare{"All", "/"}, PlaylistEncoding::Ansi, 1252);
  EXPECT_TRUE(rootShare.InShare("../../../../home/u/x.mp3"));
}

TEST(ServerReachTest, NamesComeBackAsTheServerReadsThePlaylist) {
  const std::string cafe = "Caf\xC3\xA9/\xC3\x89t\xC3\xA9.mp3";   // Café/Été.mp3
  const std::string omega = "\xCE\xA9mega.mp3";                       // Ωmega.mp3
  const std::string decomposed = "Cafe\xCC\x81.mp3";                  // e + combining acute
  const std::string cyrillic = "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mp3";  // Песня.mp3
  const struct {
    std::optional<MusicShare> share;
    PlaylistEncoding encoding;
    int codePage;
    std::string line;
    bool survives;
  } cases[] = {
      {kMusic, PlaylistEncoding::Ansi, 1252, "plain/ascii.mp3", true},
      {kMusic, PlaylistEncoding::Ansi, 1252, cafe, true},
      {kMusic, PlaylistEncoding::Ansi, 1252, omega, false},
      {kMusic, PlaylistEncoding::Ansi, 1252, decomposed, false},
      {kMusic, PlaylistEncoding::Ansi, 1252, "\xE2\x82\xAC.mp3", true},  // € has a byte
      {kMusic, PlaylistEncoding::Utf8, 1252, omega, true},
      {kMusic, PlaylistEncoding::Utf8, 1252, decomposed, true},
      // Written in Windows-1251: the computer's code page holds the name,
      // but pyTivo reads .m3u files as Windows-1252.
      {std::nullopt, PlaylistEncoding::Ansi, 1251, cyrillic, true},
      {kMusic, PlaylistEncoding::Ansi, 1251, cyrillic, false},
      {std::nullopt, PlaylistEncoding::Ansi, 1251, cafe, false},
  };
  for (const auto& c : cases) {
    ServerReach reach("/srv/music/Playlists", c.share, c.encoding, c.codePage);
    EXPECT_EQ(reach.NameSurvives(c.line), c.survives) << c.line << " in " << c.codePage;
  }
}

// A publish into the share /srv/music with the playlists in its Playlists
// folder, the layout of a typical pyTivo set-up.
class PublishIntoShareTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.LoadSettings();
    settings.SetPlaylistFolder("/srv/music/Playlists");
    files.folders.insert("/srv/music/Playlists");
    auto& list = library->AddPlaylist("Mix");
    list.Add(Track("in the folder", "/srv/music/Playlists/a.mp3"))
        .Add(Track("up and down", "/srv/music/Rock/b.mp3"))
        .Add(Track("outside", "/home/u/Other/c.mp3"))
        .Add(Track("greek", "/srv/music/Rock/\xCE\xA9mega.mp3"))
        .Add(Track("greek outside", "/home/u/Other/\xCE\xA9mega 2.mp3"))
        .Add(Track("not written", "/home/u/Other/d.m4a"));
    controller.SetLibrary(library);
    controller.ButRefresh_Click();
    controller.ButCheckAll_Click();
  }

  MemoryRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
  FakeFileSystem files;
  RecordingDesktop desktop;
  RecordingBoxes boxes;
  ScriptedPump pump;
  RecordingView view;
  std::optional<MusicShare> share = kMusic;
  std::shared_ptr<FakeITunes> library = std::make_shared<FakeITunes>();
  MainController controller{
      view, MainServices{settings, files, desktop, boxes, pump, [] { return false; }, "u",
                         CountFormat("en_US.UTF-8"),
                         [this](const std::string& folder) {
                           return folder == "/srv/music/Playlists" ? share : std::nullopt;
                         }}};
};

TEST_F(PublishIntoShareTest, CountsSongsOutsideTheShareAndNamesTheCodePageCannotHold) {
  controller.ButPublish_Click();
  EXPECT_EQ(controller.Stats().SongsWritten, 5);
  EXPECT_EQ(controller.ReachStats(),
            (ServerReachStats{.SongsOutsideShare = 2, .SongsNotInCodePage = 2}));
  // The report's own boxes first, then the one on these songs.
  ASSERT_EQ(boxes.shown.size(), 2u);
  const std::string& advice = boxes.shown[1].text;
  EXPECT_NE(advice.find("Songs outside the pyTivo share:\t\t2\r\n"), std::string::npos) << advice;
  EXPECT_NE(advice.find("Songs with names the code page cannot hold:\t2\r\n"), std::string::npos);
  EXPECT_NE(advice.find("pyTivo music share \"Music\" (/srv/music)"), std::string::npos);
  EXPECT_NE(advice.find("quorvella-cli options --encoding utf-8"), std::string::npos);
}

TEST_F(PublishIntoShareTest, Utf8PlaylistsHoldEveryNameAndEndInM3u8) {
  settings.SetPlaylistEncoding(PlaylistEncoding::Utf8);
  controller.ButPublish_Click();
  EXPECT_EQ(files.utf8Files, std::set<std::string>{"/srv/music/Playlists/Mix.m3u8"});
  EXPECT_EQ(files.files.count("/srv/music/Playlists/Mix.m3u"), 0u);
  EXPECT_EQ(controller.ReachStats(),
            (ServerReachStats{.SongsOutsideShare = 2, .SongsNotInCodePage = 0}));
}

TEST_F(PublishIntoShareTest, WithoutAShareOnlyTheCodePageCounts) {
  share = std::nullopt;
  controller.ButPublish_Click();
  EXPECT_EQ(controller.ReachStats(),
            (ServerReachStats{.SongsOutsideShare = 0, .SongsNotInCodePage = 2}));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text.find("pyTivo share"), std::string::npos);

  // A second run starts counting afresh.
  settings.SetPlaylistEncoding(PlaylistEncoding::Utf8);
  boxes.shown.clear();
  controller.ButPublish_Click();
  EXPECT_EQ(controller.ReachStats(), ServerReachStats{});
  EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace quorvella
