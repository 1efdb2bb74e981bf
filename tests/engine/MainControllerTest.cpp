// SPDX-License-Identifier: MIT
#include "engine/MainController.h"

#include <gtest/gtest.h>

#include "engine/PublishSummary.h"
#include "settings/MemoryRegistry.h"
#include "settings/Settings.h"
#include "support/FakeFileSystem.h"
#include "support/FakeLibrary.h"
#include "support/FakeMainWindow.h"

namespace quorvella {
namespace {

using test::Track;
using Lines = std::vector<std::string>;

class MainControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.LoadSettings();
    settings.SetPlaylistFolder("/d/Lists");
    files.folders.insert("/d/Lists");
    controller.SetLibrary(library);
  }
  // Adds a playlist of n songs that all lie below the playlist folder.
  test::FakePlaylist& AddList(const std::string& name, int songs) {
    auto& p = library->AddPlaylist(name);
    for (int i = 0; i < songs; ++i) {
      p.Add(Track(std::string("s").append(std::to_string(i)), "/d/Lists/s.mp3"));
    }
    return p;
  }
  void CheckRows(std::initializer_list<bool> checks) {
    int r = 0;
    for (bool c : checks) view.rows.at(r++).checked = c;
  }

  MemoryRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
  test::FakeFileSystem files;
  test::RecordingDesktop desktop;
  test::RecordingBoxes boxes;
  test::ScriptedPump pump;
  test::RecordingView view;
  bool tivo23 = false;
  std::optional<MusicShare> share;  // the pyTivo share that holds /d/Lists
  std::shared_ptr<test::FakeITunes> library = std::make_shared<test::FakeITunes>();
  MainController controller{
      view, MainServices{settings, files, desktop, boxes, pump, [this] { return tivo23; }, "https://convert",
                         CountFormat("en_US.UTF-8"),
                         [this](const std::string& folder) { return folder == "/d/Lists" ? share : std::nullopt; }}};
};

TEST_F(MainControllerTest, RefreshListsTheListedKindsAndCheckAllTakesOnlyUserLists) {
  library->AddPlaylist("Library", ITPlaylistKindLibrary);
  library->AddPlaylist("Folder", ITPlaylistKindUser, ITUserPlaylistSpecialKindFolder);
  library->AddPlaylist("Movies", ITPlaylistKindUser, ITUserPlaylistSpecialKindVideos);
  library->AddPlaylist("Radio", 4);
  library->AddPlaylist("Genius", ITPlaylistKindUser, 11);
  library->AddPlaylist("Purchased", ITPlaylistKindUser, ITUserPlaylistSpecialKindPurchasedMusic);
  library->AddPlaylist("Party", ITPlaylistKindUser, ITUserPlaylistSpecialKindPartyShuffle);
  library->AddPlaylist("Podcasts", ITPlaylistKindUser, ITUserPlaylistSpecialKindPodcasts);
  library->AddPlaylist("Smart", ITPlaylistKindUser, ITUserPlaylistSpecialKindNone, true);
  library->AddPlaylist("ALL Rated songs", ITPlaylistKindUser, ITUserPlaylistSpecialKindNone, true);
  library->AddPlaylist("AC/DC?").source = 7;
  files.files["/d/Lists/AC_DC_.m3u"] = {};
  files.files["/d/Lists/Party.m3u"] = {};

  controller.ButRefresh_Click();
  Lines rows;  // each listed row's name and icon
  for (const auto& r : view.rows) rows.push_back(r.text + " " + std::to_string(r.icon));
  EXPECT_EQ(rows, (Lines{"Library 3", "Purchased 1", "Party 2", "Podcasts 8", "Smart 7",
                         "ALL Rated songs 7", "AC/DC? 6"}));
  EXPECT_EQ(view.Checks(), (std::vector<bool>{false, false, true, false, false, false, true}));
  EXPECT_EQ(view.rows[0].tag, "100");
  EXPECT_EQ(controller.SourceId(), 7) << "the last listed row's source stands";
  EXPECT_FALSE(controller.Busy());
  EXPECT_EQ(view.waitCursor, (std::vector<bool>{true, false}));

  // Never the library, purchases, party shuffle or all rated songs.
  CheckRows({true, true, true, false, false, true, false});
  controller.ButCheckAll_Click();
  EXPECT_EQ(view.Checks(), (std::vector<bool>{false, false, false, true, true, false, true}));
  controller.ButCheckNone_Click();
  EXPECT_EQ(view.Checks(), std::vector<bool>(7, false));
}

TEST_F(MainControllerTest, StopDuringTheSecondOfFourPlaylistsAndOtherClicksIgnored) {
  for (const char* name : {"A", "B", "C", "D"}) AddList(name, 4);
  controller.ButRefresh_Click();
  CheckRows({true, true, true, true});
  int pumps = 0;
  pump.onPump = [&] {
    if (++pumps == 1) {
      controller.ButPublish_Click();
      controller.ButRefresh_Click();
    }
    // Row A takes seven pumps (two before writing, one per track, one after
    // the row); the ninth comes just before row B is written.
    if (pumps == 9) controller.ButStop_Click();
  };
  controller.ButPublish_Click();
  EXPECT_EQ(view.Statuses(), (Lines{"Done (4 songs)", "Done (1 song)", "Queued", "Queued"}));
  EXPECT_EQ(files.files.at("/d/Lists/B.m3u").size(), 3u) << "the song written before the stop is kept";
  EXPECT_EQ(view.progressTracks, (std::vector<float>{0, 25, 50, 75, 100, 0})) << "none for the song stopped at";
  EXPECT_EQ(view.statusLine.back(), "Stopped");
  ASSERT_EQ(boxes.shown.size(), 1u) << "the report is shown for a stopped run";
  EXPECT_EQ(controller.Stats().SongsWritten, 5);
  EXPECT_FALSE(controller.Busy());
}

TEST_F(MainControllerTest, ARunCountsOnlyItsOwnSongsAndAListDeletedMeanwhileStopsIt) {
  settings.SetPlaylistFolder("  /d/Lists ");  // written where it was checked, spaces aside
  AddList("A", 1);
  library->AddPlaylist("Gone");
  AddList("Empty", 0).Add(Track("wrong type", "/d/Lists/x.m4a"));
  AddList("C", 1234);
  AddList("D", 1);
  controller.ButRefresh_Click();
  CheckRows({true, false, true, true, true});
  controller.ButPublish_Click();
  EXPECT_EQ(view.progressPlaylists, (std::vector<float>{0, 25, 25, 50, 75, 100, 0}));
  EXPECT_EQ(view.Statuses(),
            (Lines{"Done (1 song)", "-", "Done (empty)", "Done (1,234 songs)", "Done (1 song)"}));
  EXPECT_EQ(view.statusLine, (Lines{"Publishing A...", "Publishing Empty...", "Publishing C...",
                                    "Publishing D...", "Done"}));
  EXPECT_EQ(files.files.at("/d/Lists/A.m3u"), (Lines{"#EXTM3U", "#EXTINF:180,s0", "s.mp3"}));
  EXPECT_EQ(controller.Stats(), (PublishStats{.SongsInPlaylist = 1, .SongsWritten = 1236,
                                              .WrongFormatSongs = 1, .EmptyPlaylistsDeleted = 1,
                                              .PlaylistsPublished = 4}));
  EXPECT_FALSE(view.stopEnabled || controller.Busy() || controller.Running());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].text.starts_with("Quorvella has finished"));

  // A playlist deleted meanwhile is not found and stops the run, which
  // starts its counts afresh but keeps the count of the last playlist written.
  library->RemovePlaylist(101);
  CheckRows({false, true, false, true, false});
  boxes.shown.clear();
  controller.ButPublish_Click();
  EXPECT_EQ(view.Statuses(), (Lines{"-", "Not found", "-", "Queued", "-"}));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text,
            "An unexpected internal error has occurred.  Please refresh the list of playlists.");
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(view.statusLine.back(), "Stopped");
  EXPECT_EQ(controller.Stats(), (PublishStats{.SongsInPlaylist = 1, .PlaylistsPublished = 1}));
}

// The disk may make a full run's files ahead, one per checked playlist, in
// the folder as the run writes to it; a run that writes only changes writes
// few, and a refused one none.
TEST_F(MainControllerTest, AFullRunAsksForItsFilesAhead) {
  settings.SetPlaylistFolder(" /d/Lists ");
  for (const char* name : {"A", "B", "C"}) AddList(name, 2);
  controller.ButRefresh_Click();
  CheckRows({true, false, true});
  controller.ButPublish_Click();
  using Prepared = std::tuple<std::string, std::size_t, std::size_t, std::size_t>;
  EXPECT_EQ(files.prepared, (std::vector<Prepared>{{"/d/Lists/", 2, 0, 0}})) << "before any file";
  ASSERT_EQ(files.files.size(), 2u);
  controller.SetChangedOnly(true);
  controller.ButPublish_Click();
  CheckRows({false, false, false});
  controller.SetChangedOnly(false);
  controller.ButPublish_Click();
  EXPECT_EQ(files.prepared.size(), 1u);
}

TEST_F(MainControllerTest, RefusalsOfAMissingFolderWithAndWithoutTheTiVoAdditionOrOfNoCheck) {
  const auto folderRefusal = [](const std::string& note, bool tivo23) {
    return "You first need to select a folder in which to create the playlists." + note +
           "\r\n\r\nTo do this, open the 'Tools' menu and choose 'Options'.\r\n\r\n"
           "Be sure to select a playlist folder which has been published via the TiVo Desktop "
           "server (or a sub-folder thereof).  This will ensure that your playlists are visible "
           "to TiVo." +
           (tivo23 ? "\r\n\r\nIn addition, be sure that the playlist folder which contains all "
                     "of the songs in the playlist (or is a parent folder thereof)."
                   : "");
  };
  const std::string missing = " (The currently-selected folder does not exist.)";
  // The folder, whether TiVo Desktop 2.3 is there, the refusal, the row's status afterwards.
  const std::tuple<const char*, bool, std::string, const char*> cases[] = {
      {"   ", false, folderRefusal("", false), ""},
      {"", true, folderRefusal("", true), ""},
      {"/d/Gone", false, folderRefusal(missing, false), ""},
      {" /d/Gone ", true, folderRefusal(missing, true), ""},
      {"D:\\Lists", false, folderRefusal(missing, false), ""},  // a Windows folder is none here
      // Nothing checked is refused after the statuses are reset.
      {"/d/Lists", false,
       "Please place a checkmark by at least one playlist and then click 'Publish Playlists to "
       "TiVo' again.",
       "-"},
  };
  AddList("A", 1);
  controller.ButRefresh_Click();
  for (const auto& [folder, withTiVo23, text, status] : cases) {
    SCOPED_TRACE(folder);
    settings.SetPlaylistFolder(folder);
    tivo23 = withTiVo23;
    boxes.shown.clear();
    view.rows[0].status = "";
    controller.ButPublish_Click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, text);
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(view.rows[0].status, status);
    EXPECT_FALSE(controller.Busy());
  }
}

TEST_F(MainControllerTest, ALibraryFailureEndsTheRunOrTheRefreshInOrder) {
  auto& p = AddList("A", 2);
  p.tracks->tracks[1]->failName = true;
  AddList("B", 1);
  controller.ButRefresh_Click();
  CheckRows({true, true});
  bool busyWhileReported = true;
  boxes.onShow = [&](const Message&) { busyWhileReported = controller.Busy(); };
  controller.ButPublish_Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("The track's name could not be read."), std::string::npos);
  EXPECT_FALSE(busyWhileReported || controller.Busy() || view.stopEnabled ||
               controller.Running());
  EXPECT_EQ(view.Statuses(), (Lines{"Publishing...", "Queued"}));

  // A refresh that fails is reported and leaves the window idle.
  library->failSource = true;
  boxes.shown.clear();
  view.waitCursor.clear();
  view.busy.clear();
  controller.ButRefresh_Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("The library file could not be read."), std::string::npos);
  EXPECT_FALSE(controller.Busy());
  EXPECT_EQ(view.busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(view.waitCursor, (std::vector<bool>{true, false}));
}

// Songs the pyTivo share will not play are counted afresh in each run and
// told of after the run's own box, with the share named.
TEST_F(MainControllerTest, EachRunTellsOfTheSongsThePyTivoShareWillNotPlay) {
  share = MusicShare{"Music", "/d/Lists"};
  library->AddPlaylist("Mix").Add(Track("outside, not in the code page", "/d/Rock/\xCE\xA9mega.mp3"));
  controller.ButRefresh_Click();
  controller.ButCheckAll_Click();
  const std::string advice =
      PublishSummary::ServerReachAdvice({{1, 1}, share, 1252}, CountFormat("en_US.UTF-8")).text;
  for (int run = 0; run < 2; ++run) {
    boxes.shown.clear();
    controller.ButPublish_Click();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, advice);
  }
}

}  // namespace
}  // namespace quorvella
