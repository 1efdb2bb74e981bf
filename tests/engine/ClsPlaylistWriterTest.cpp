// SPDX-License-Identifier: MIT
#include "engine/ClsPlaylistWriter.h"

#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "settings/Settings.h"
#include "support/FakeFileSystem.h"
#include "support/FakeLibrary.h"
#include "support/FakeMainWindow.h"

namespace quorvella {
namespace {

using test::FakeFileSystem;
using test::FakePlaylist;
using test::Track;
using Lines = std::vector<std::string>;

class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override { settings.LoadSettings(); }
  MemoryRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
  FakeFileSystem files;
  test::ScriptedPump pump;
  PublishStats stats;
  std::vector<int> progress;
  ClsPlaylistWriter writer{settings, files, pump, stats, "/d/Lists",
                           [this](std::int16_t p) { progress.push_back(p); }};
  FakePlaylist playlist;
};

TEST_F(WriterTest, SortsEverySongAndCountsItWhetherOrNotOnlyChangedFilesAreWritten) {
  playlist.name = "Mixed";
  playlist.Add(Track("below", "/d/Lists/Jazz/a.mp3", 245))
      .Add(Track("So What, Take 2 ", "/d/Music/b.mp3"))
      .Add(Track("windows path", "E:\\Music\\c.mp3"))
      .Add(Track("aac", "/d/Lists/d.m4a"))
      .Add(Track("not a file", std::nullopt))
      .Add(Track("no dot", "/d/Lists/e"))
      .Add(Track("padded", "  /d/Lists/F.MP3  ", -3));
  for (const bool changedOnly : {false, true}) {
    SCOPED_TRACE(changedOnly);
    files.files.clear();
    stats = {};
    progress.clear();
    writer.SetChangedOnly(changedOnly);
    EXPECT_EQ(writer.WritePlaylist(playlist), 3);
    EXPECT_EQ(files.files.at("/d/Lists/Mixed.m3u"),
              (Lines{"#EXTM3U", "#EXTINF:245,below", "Jazz/a.mp3", "#EXTINF:180,So What, Take 2 ",
                     "../Music/b.mp3", "#EXTINF:-3,padded", "F.MP3"}));
    EXPECT_EQ(stats, (PublishStats{.SongsInPlaylist = 3, .SongsWritten = 3, .UnreachableSongs = 1,
                                   .LikelyUnreachableSongs = 1, .WrongFormatSongs = 3}));
    EXPECT_EQ(progress, (std::vector<int>{14, 29, 43, 57, 71, 86, 100}));
  }
}

TEST_F(WriterTest, AnUnwritableFolderStillCountsSongsAndTheFailedDelete) {
  files.failCreate = true;
  files.failRemove = true;
  playlist.name = "Locked";
  playlist.Add(Track("a", "/d/Lists/a.mp3")).Add(Track("b", "/d/Lists/b.wma"));
  EXPECT_EQ(writer.WritePlaylist(playlist), 0) << "with no one to tell";
  std::vector<std::string> failures;
  writer.OnOutputFailed(
      [&](const std::string& path, const std::string& why) { failures.push_back(path + ": " + why); });
  EXPECT_EQ(writer.WritePlaylist(playlist), 0);
  EXPECT_EQ(failures, std::vector<std::string>{"/d/Lists/Locked.m3u: Permission denied"});
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(stats, (PublishStats{.WrongFormatSongs = 2, .EmptyPlaylistsDeleted = 2}));
}

TEST_F(WriterTest, NamesThatSanitiseAlikeShareOneFileAndTheEarlierGoesToTheTrashIfItCan) {
  playlist.name = "AC/DC: Live?";
  writer.WritePlaylist(playlist.Add(Track("one", "/d/Lists/1.mp3")));
  FakePlaylist second;
  second.name = "AC:DC/ Live*";
  writer.WritePlaylist(second.Add(Track("two", "/d/Lists/2.mp3")));
  const decltype(files.trash) trashed = {{"/d/Lists/AC_DC_ Live_.m3u", {"#EXTM3U", "#EXTINF:180,one", "1.mp3"}}};
  EXPECT_EQ(files.trash, trashed);
  EXPECT_EQ(files.files.at("/d/Lists/AC_DC_ Live_.m3u"),
            (Lines{"#EXTM3U", "#EXTINF:180,two", "2.mp3"}));

  // A trash that fails leaves the old file to be overwritten.
  files.failTrash = true;
  writer.WritePlaylist(playlist);
  EXPECT_EQ(files.trash, trashed);
  EXPECT_EQ(files.files.at("/d/Lists/AC_DC_ Live_.m3u"),
            (Lines{"#EXTM3U", "#EXTINF:180,one", "1.mp3"}));
}

TEST_F(WriterTest, FailuresReachTheCallerAndLeaveNoCutOffFile) {
  playlist.name = "Broken";
  auto bad = Track("bad", "/d/Lists/bad.mp3");
  bad->failName = true;
  playlist.Add(Track("good", "/d/Lists/good.mp3")).Add(bad);
  const Lines good = {"#EXTM3U", "#EXTINF:180,good", "good.mp3"};
  {
    ClsPlaylistWriter failing{settings, files, pump, stats, "/d/Lists"};
    EXPECT_THROW(failing.WritePlaylist(playlist), LibraryError);
    EXPECT_FALSE(files.PathExists("/d/Lists/Broken.m3u")) << "the file is still open";
  }
  EXPECT_EQ(files.files.at("/d/Lists/Broken.m3u"), good) << "and closed with the writer";

  files.failWriteAfterLines = 2;
  EXPECT_THROW(writer.WritePlaylist(playlist), std::runtime_error);
  EXPECT_FALSE(files.PathExists("/d/Lists/Broken.m3u"));
  ASSERT_EQ(files.trash.size(), 1u) << "the old file went to the trash first";
  EXPECT_EQ(files.trash[0].second, good);
}

TEST(ProgressPercent, RoundsTiesToEvenWithinAHundred) {
  const int cases[][3] = {{1, 8, 12}, {3, 8, 38}, {5, 8, 62},  {2, 3, 67},
                          {1, 200, 0}, {3, 200, 2}, {5, 3, 100}, {1, 0, 100}};
  for (const auto& [index, total, percent] : cases) {
    EXPECT_EQ(ProgressPercent(index, total), percent) << index << "/" << total;
  }
}

}  // namespace
}  // namespace quorvella
