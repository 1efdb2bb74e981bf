// SPDX-License-Identifier: MIT
// The playlist writer over a real library file and the real file system:
// every song of a generated library is sorted as its place and type say,
// and the files on disk hold exactly the songs that were written.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "bench/LibraryGenerator.h"
#include "bench/LibraryXml.h"
#include "engine/ClsPlaylistWriter.h"
#include "engine/PlaylistCatalogue.h"
#include "library/xml/XmlITunes.h"
#include "platform/LocalFileSystem.h"
#include "platform/Text.h"
#include "settings/MemoryRegistry.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"
#include "support/FakeMainWindow.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

// What publishing a generated playlist must give, worked out from the
// generator's own record of where each song lies.
struct Expected {
  PublishStats stats;
  int written = 0;
};

Expected Expect(const GeneratedLibrary& library, const GeneratedPlaylist& playlist) {
  Expected e;
  for (const std::int32_t id : playlist.Items) {
    const GeneratedTrack* track = library.FindTrack(id);
    if (track == nullptr) continue;
    if (track->Type != TrackType::File || LowerAscii(track->Ext) != "mp3") {
      ++e.stats.WrongFormatSongs;
      continue;
    }
    const bool windows = library.Options.Form == UrlForm::Windows;
    switch (track->Place) {
      case SongPlace::PlaylistFolder:
      case SongPlace::BelowPlaylistFolder:
        ++e.written;
        break;
      case SongPlace::SiblingFolder:
        ++e.written;
        ++e.stats.LikelyUnreachableSongs;
        break;
      case SongPlace::OtherVolume:
      case SongPlace::NetworkShare:
        // Another drive or share has no relative path; in the POSIX form
        // every path shares the root, so the song is reached with "../".
        if (windows) {
          ++e.stats.UnreachableSongs;
        } else {
          ++e.written;
          ++e.stats.LikelyUnreachableSongs;
        }
        break;
      case SongPlace::None:
        ++e.stats.WrongFormatSongs;
        break;
    }
  }
  // A Windows folder cannot be opened here: the songs are still sorted and
  // counted, but none is written, as for any folder that cannot take a file.
  if (library.Options.Form == UrlForm::Windows) e.written = 0;
  e.stats.SongsWritten = e.written;
  e.stats.SongsInPlaylist = e.written;
  return e;
}

// The home and data folders of the whole test program: the trash reads them
// once per process.
const testing::TempDir& ProgramHome() {
  static const testing::TempDir* home = [] {
    static const testing::TempDir dir;
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    setenv("HOME", dir.Path().c_str(), 1);
    return &dir;
  }();
  return *home;
}

class PublishOnDiskTest : public ::testing::TestWithParam<UrlForm> {
 protected:
  void SetUp() override {
    ProgramHome();
    const bool posix = GetParam() == UrlForm::Posix;
    library_ = GenerateLibrary({.Seed = 11, .Tracks = 400, .Playlists = 10, .SongsPerPlaylist = 40,
                                .Form = GetParam(), .MusicRoot = posix ? dir_.File("music") : ""});
    path_ = dir_.File("library.xml");
    std::string error;
    ASSERT_TRUE(WriteLibraryXmlFile(library_, path_, error)) << error;
    if (posix) {
      ASSERT_GE(CreateSongFiles(library_, error), 0) << error;
    }
    reg_.RegSetString(Hive::CurrentUser, SettingsKey, "DeleteEmptyOutput", "False");
    settings_.LoadSettings();
  }

  testing::TempDir dir_;
  GeneratedLibrary library_;
  std::string path_;
  MemoryRegistry store_;
  RegUtil reg_{store_};
  Settings settings_{reg_};
  LocalFileSystem files_;
  test::ScriptedPump pump_;
};

TEST_P(PublishOnDiskTest, EverySongIsSortedByItsPlaceAndType) {
  XmlITunes iTunes(path_);
  const auto playlists = iTunes.LibrarySource()->Playlists();
  EXPECT_EQ(iTunes.Library()->WarningCount(), 0u) << "a generated library is sound";
  int checkedPlaylists = 0;
  for (std::int32_t i = 0; i < playlists->Count(); ++i) {
    const auto playlist = playlists->Item(i);
    if (!IsCheckAllKind(KindCodeOf(*playlist))) continue;
    const GeneratedPlaylist* generated = library_.FindPlaylist(playlist->Name());
    ASSERT_NE(generated, nullptr) << playlist->Name();
    SCOPED_TRACE(playlist->Name());

    PublishStats stats;
    ClsPlaylistWriter writer(settings_, files_, pump_, stats, library_.PlaylistFolder);
    const std::int32_t written = writer.WritePlaylist(*playlist);
    const Expected expected = Expect(library_, *generated);
    EXPECT_EQ(written, expected.written);
    EXPECT_EQ(stats, expected.stats);
    ++checkedPlaylists;

    if (GetParam() != UrlForm::Posix) continue;
    // The file holds "#EXTM3U" and two lines per written song, each line
    // ending in CR LF, and every path names an existing song file.
    const std::string text = testing::ReadBytes(writer.OutputPath());
    ASSERT_TRUE(text.starts_with("#EXTM3U\r\n")) << writer.OutputPath();
    std::istringstream lines(text);
    std::string line;
    int pathLines = 0;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
      ASSERT_TRUE(line.ends_with('\r'));
      line.pop_back();
      if (line.starts_with("#EXTINF:")) continue;
      ++pathLines;
      EXPECT_FALSE(line.starts_with("./"));
      // Paths are written in the code page, with "?" for what it cannot
      // hold, so only the plain ones can be looked up as they stand.
      const bool plain = std::all_of(line.begin(), line.end(), [](char c) { return c > 0; }) &&
                         line.find('?') == std::string::npos;
      if (plain) {
        EXPECT_TRUE(fs::exists(fs::path(library_.PlaylistFolder) / line)) << line;
      }
    }
    EXPECT_EQ(pathLines, written);
  }
  EXPECT_GT(checkedPlaylists, 5);
}

INSTANTIATE_TEST_SUITE_P(BothForms, PublishOnDiskTest,
                         ::testing::Values(UrlForm::Posix, UrlForm::Windows),
                         [](const auto& info) {
                           return info.param == UrlForm::Posix ? std::string("Posix")
                                                               : std::string("Windows");
                         });

}  // namespace
}  // namespace quorvella
