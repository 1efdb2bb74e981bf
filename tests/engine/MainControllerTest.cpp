// SPDX-License-Identifier: MIT
#include "engine/MainController.h"

#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "settings/RegistryKeys.h"
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
      const std::string number = std::to_string(i);
      p.Add(Track("s" + number, "/d/Lists/s.mp3"));
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
  FakeFileSystem files;
  RecordingDesktop desktop;
  RecordingBoxes boxes;
  ScriptedPump pump;
  RecordingView view;
  bool tivo23 = false;
  std::shared_ptr<FakeITunes> library = std::make_shared<FakeITunes>();
  MainController controller{view, MainServices{settings, files, desktop, boxes, pump,
                                               [this] { return tivo23; }, "https://convert",
                                               CountFormat("en_US.UTF-8")}};
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
  std::vector<std::string> names;
  std::vector<PlaylistKindCode> icons;
  for (const auto& r : view.rows) {
    names.push_back(r.text);
    icons.push_back(r.icon);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Library", "Purchased", "Party", "Podcasts", "Smart",
                                             "ALL Rated songs", "AC/DC?"}));
  EXPECT_EQ(icons, (std::vector<PlaylistKindCode>{3, 1, 2, 8, 7, 7, 6}));
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

TEST_F(MainControllerTest, WithoutAFolderNoRowIsChecked) {
  // The bare file name is asked about, and a relative name names no file.
  settings.SetPlaylistFolder("");
  library->AddPlaylist("Mix");
  files.files["Mix.m3u"] = {};
  controller.ButRefresh_Click();
  EXPECT_FALSE(view.rows.at(0).checked);
}

TEST_F(MainControllerTest, ARefreshFailureIsReportedAndLeavesTheWindowIdle) {
  library->failSource = true;
  controller.ButRefresh_Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("The library file could not be read."), std::string::npos);
  EXPECT_FALSE(controller.Busy());
  EXPECT_FALSE(view.busy);
  EXPECT_EQ(view.waitCursor, (std::vector<bool>{true, false}));
}

TEST_F(MainControllerTest, ProgressOfThreeRowsWithTheSecondUnchecked) {
  AddList("A", 1);
  AddList("B", 1);
  AddList("C", 1234);
  controller.ButRefresh_Click();
  CheckRows({true, false, true});
  controller.ButPublish_Click();
  EXPECT_EQ(view.progressPlaylists, (std::vector<float>{0, 50, 50, 100, 0}));
  EXPECT_EQ(view.Statuses(),
            (std::vector<std::string>{"Done (1 song)", "-", "Done (1,234 songs)"}));
  EXPECT_EQ(view.statusLine, (std::vector<std::string>{"Publishing A...", "Publishing C...", "Done"}));
  EXPECT_EQ(controller.Stats().PlaylistsPublished, 2);
  EXPECT_FALSE(view.stopEnabled);
  EXPECT_FALSE(controller.Busy());
  EXPECT_FALSE(controller.Running());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].text.starts_with("Quorvella has finished"));
}

TEST_F(MainControllerTest, AFolderStoredWithSpacesIsWrittenWhereItWasChecked) {
  settings.SetPlaylistFolder("  /d/Lists ");
  AddList("A", 1);
  controller.ButRefresh_Click();
  CheckRows({true});
  controller.ButPublish_Click();
  EXPECT_EQ(view.Statuses(), (std::vector<std::string>{"Done (1 song)"}));
  EXPECT_EQ(files.files.at("/d/Lists/A.m3u"),
            (std::vector<std::string>{"#EXTM3U", "#EXTINF:180,s0", "s.mp3"}));
}

TEST_F(MainControllerTest, StopDuringTheSecondOfFourPlaylists) {
  for (const char* name : {"A", "B", "C", "D"}) AddList(name, 4);
  controller.ButRefresh_Click();
  CheckRows({true, true, true, true});
  int pumps = 0;
  pump.onPump = [&] {
    // Row A takes seven pumps (two before writing, one per track, one after
    // the row); the ninth comes just before row B is written.
    if (++pumps == 9) controller.ButStop_Click();
  };
  controller.ButPublish_Click();
  EXPECT_EQ(view.Statuses(),
            (std::vector<std::string>{"Done (4 songs)", "Done (1 song)", "Queued", "Queued"}));
  EXPECT_EQ(view.statusLine.back(), "Stopped");
  ASSERT_EQ(boxes.shown.size(), 1u) << "the report is shown for a stopped run";
  EXPECT_EQ(controller.Stats().SongsWritten, 5);
  EXPECT_FALSE(controller.Busy());
}

TEST_F(MainControllerTest, AListDeletedMeanwhileIsNotFoundAndStopsTheRun) {
  AddList("A", 1);
  AddList("B", 1);
  AddList("C", 1);
  controller.ButRefresh_Click();
  CheckRows({true, true, true});
  library->RemovePlaylist(101);
  controller.ButPublish_Click();
  EXPECT_EQ(view.Statuses(), (std::vector<std::string>{"Done (1 song)", "Not found", "Queued"}));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text,
            "An unexpected internal error has occurred.  Please refresh the list of playlists.");
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(view.statusLine.back(), "Stopped");
  ASSERT_EQ(view.progressPlaylists.size(), 3u);
  EXPECT_NEAR(view.progressPlaylists[1], 33.333f, 0.001f);
}

TEST_F(MainControllerTest, ARunResetsEveryCountButTheCurrentPlaylists) {
  AddList("Empty", 0).Add(Track("wrong type", "/d/Lists/x.m4a"));
  AddList("Three", 3);
  library->AddPlaylist("Gone");
  controller.ButRefresh_Click();
  CheckRows({true, true, false});
  controller.ButPublish_Click();
  EXPECT_EQ(controller.Stats(), (PublishStats{.SongsInPlaylist = 3,
                                              .SongsWritten = 3,
                                              .UnreachableSongs = 0,
                                              .LikelyUnreachableSongs = 0,
                                              .WrongFormatSongs = 1,
                                              .EmptyPlaylistsDeleted = 1,
                                              .PlaylistsPublished = 2}));

  // A run that stops before it writes a playlist keeps the last one's count.
  library->RemovePlaylist(102);
  CheckRows({false, false, true});
  controller.ButPublish_Click();
  EXPECT_EQ(view.Statuses(), (std::vector<std::string>{"-", "-", "Not found"}));
  EXPECT_EQ(controller.Stats(), (PublishStats{.SongsInPlaylist = 3,
                                              .SongsWritten = 0,
                                              .UnreachableSongs = 0,
                                              .LikelyUnreachableSongs = 0,
                                              .WrongFormatSongs = 0,
                                              .EmptyPlaylistsDeleted = 0,
                                              .PlaylistsPublished = 1}));
}

TEST_F(MainControllerTest, ClicksDuringARunAreIgnored) {
  AddList("A", 3);
  controller.ButRefresh_Click();
  CheckRows({true});
  int nested = 0;
  pump.onPump = [&] {
    if (nested++ == 0) {
      controller.ButPublish_Click();
      controller.ButRefresh_Click();
    }
  };
  controller.ButPublish_Click();
  EXPECT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.Statuses(), std::vector<std::string>{"Done (3 songs)"});
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(MainControllerTest, FolderRefusalsWithAndWithoutTheTiVoAddition) {
  const std::string base =
      "You first need to select a folder in which to create the playlists.%s\r\n\r\n"
      "To do this, open the 'Tools' menu and choose 'Options'.\r\n\r\n"
      "Be sure to select a playlist folder which has been published via the TiVo Desktop server "
      "(or a sub-folder thereof).  This will ensure that your playlists are visible to TiVo.";
  const std::string addition =
      "\r\n\r\nIn addition, be sure that the playlist folder which contains all of the songs in "
      "the playlist (or is a parent folder thereof).";
  const std::string missing = " (The currently-selected folder does not exist.)";
  struct Case {
    const char* folder;
    bool tivo23;
    std::string note;
  };
  const Case cases[] = {{"   ", false, ""}, {"", true, ""}, {"/d/Gone", false, missing},
                        {" /d/Gone ", true, missing},
                        {"D:\\Lists", false, missing}};  // a Windows folder is none here
  AddList("A", 1);
  controller.ButRefresh_Click();
  for (const auto& c : cases) {
    settings.SetPlaylistFolder(c.folder);
    tivo23 = c.tivo23;
    boxes.shown.clear();
    view.rows[0].status = "";
    controller.ButPublish_Click();
    std::string expected = base;
    expected.replace(expected.find("%s"), 2, c.note);
    if (c.tivo23) expected += addition;
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, expected) << "folder \"" << c.folder << "\"";
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(view.rows[0].status, "") << "no row changes";
  }
}

TEST_F(MainControllerTest, NothingCheckedIsRefusedAfterTheStatusesAreReset) {
  AddList("A", 1);
  controller.ButRefresh_Click();
  controller.ButPublish_Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            "Please place a checkmark by at least one playlist and then click 'Publish Playlists "
            "to TiVo' again.");
  EXPECT_EQ(view.Statuses(), std::vector<std::string>{"-"});
  EXPECT_FALSE(controller.Busy());
}

TEST_F(MainControllerTest, ALibraryFailureEndsTheRunInOrder) {
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
  EXPECT_FALSE(busyWhileReported);
  EXPECT_FALSE(controller.Busy());
  EXPECT_FALSE(view.stopEnabled);
  EXPECT_FALSE(controller.Running());
  EXPECT_EQ(view.Statuses(), (std::vector<std::string>{"Publishing...", "Queued"}));
}

}  // namespace
}  // namespace quorvella
