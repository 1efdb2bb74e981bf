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
#include "settings/Settings.h"
#include "support/FakeMainWindow.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

// What publishing a generated playlist must give, worked out from the
// generator's own record of where each song lies: every MP3 file is
// written, and one outside the playlist folder is likely unreachable (all
// POSIX paths share the root, so "../" always reaches a song).
PublishStats Expect(const GeneratedLibrary& library, const GeneratedPlaylist& playlist) {
  PublishStats e;
  for (const std::int32_t id : playlist.Items) {
    const GeneratedTrack* track = library.FindTrack(id);
    if (track == nullptr) continue;
    const bool mp3 = track->Type == TrackType::File && LowerAscii(track->Ext) == "mp3";
    e.WrongFormatSongs += !mp3;
    e.SongsWritten += mp3;
    e.LikelyUnreachableSongs += mp3 && track->Place != SongPlace::PlaylistFolder &&
                                track->Place != SongPlace::BelowPlaylistFolder;
  }
  e.SongsInPlaylist = e.SongsWritten;
  return e;
}

TEST(PublishOnDiskTest, EverySongIsSortedByItsPlaceAndType) {
  // The trash, should the writer use it, lies in this home.
  const testing::TempDir dir;
  setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
  setenv("HOME", dir.Path().c_str(), 1);
  const GeneratedLibrary library = GenerateLibrary(
      {.Seed = 11, .Tracks = 400, .Playlists = 10, .SongsPerPlaylist = 40,
       .Form = UrlForm::Posix, .MusicRoot = dir.File("music")});
  const std::string path = dir.File("library.xml");
  std::string error;
  ASSERT_TRUE(WriteLibraryXmlFile(library, path, error)) << error;
  ASSERT_GE(CreateSongFiles(library, error), 0) << error;
  MemoryRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
  settings.LoadSettings();
  settings.SetDeleteEmptyOutput(false);
  LocalFileSystem files;
  test::ScriptedPump pump;

  XmlITunes iTunes(path);
  const auto playlists = iTunes.LibrarySource()->Playlists();
  EXPECT_EQ(iTunes.Library()->WarningCount(), 0u) << "a generated library is sound";
  int checkedPlaylists = 0;
  for (std::int32_t i = 0; i < playlists->Count(); ++i) {
    const auto playlist = playlists->Item(i);
    if (!IsCheckAllKind(KindCodeOf(*playlist))) continue;
    const GeneratedPlaylist* generated = library.FindPlaylist(playlist->Name());
    ASSERT_NE(generated, nullptr) << playlist->Name();
    SCOPED_TRACE(playlist->Name());
    PublishStats stats;
    ClsPlaylistWriter writer(settings, files, pump, stats, library.PlaylistFolder);
    const std::int32_t written = writer.WritePlaylist(*playlist);
    EXPECT_EQ(stats, Expect(library, *generated));
    ++checkedPlaylists;

    // The file holds "#EXTM3U" and two lines per written song, each line
    // ending in CR LF, and every path names an existing song file.
    const std::string text = testing::ReadBytes(writer.OutputPath());
    ASSERT_TRUE(text.starts_with("#EXTM3U\r\n")) << writer.OutputPath();
    std::istringstream lines(text);
    int pathLines = 0;
    for (std::string line; std::getline(lines, line);) {
      ASSERT_TRUE(line.ends_with('\r'));
      line.pop_back();
      if (line == "#EXTM3U" || line.starts_with("#EXTINF:")) continue;
      ++pathLines;
      EXPECT_FALSE(line.starts_with("./"));
      // Paths are written in the code page, with "?" for what it cannot
      // hold, so only the plain ones can be looked up as they stand.
      const bool plain = std::all_of(line.begin(), line.end(), [](char c) { return c > 0; }) &&
                         line.find('?') == std::string::npos;
      EXPECT_TRUE(!plain || fs::exists(fs::path(library.PlaylistFolder) / line)) << line;
    }
    EXPECT_EQ(pathLines, written);
  }
  EXPECT_GT(checkedPlaylists, 5);
}

}  // namespace
}  // namespace quorvella
