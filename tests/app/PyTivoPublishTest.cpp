// SPDX-License-Identifier: MIT
// quorvella-cli publishing into a pyTivo music share, checked by pyTivo's own
// rules: an entry is joined to the playlist's folder and normalised, plays
// only when it names an existing file inside the share, and an .m3u file is
// read as Windows-1252, an .m3u8 file as UTF-8.
#include <gtest/gtest.h>

#include "app/CliFixture.h"
#include "platform/NativePath.h"
#include "platform/TextEncoding.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

// A path relative to the test's root; whether it lies in the share, and
// whether its name has a character Windows-1252 has no byte for.
struct Song { std::string path; bool inShare, outside1252; };

// Songs reached from share/Playlists with and without "..", outside the
// share, and with names outside Windows-1252 on both sides.
const Song kSongs[] = {
    {"share/Playlists/a.mp3", true, false},
    {"share/Playlists/Sub/\xE6\x97\xA5\xE6\x9C\xAC.mp3", true, true},  // 日本
    {"share/Rock/b.mp3", true, false},
    {"share/Rock/\xCE\xA9mega.mp3", true, true},                // Ωmega
    {"share/\xC3\x89t\xC3\xA9/\xC3\xA7" "a.mp3", true, false},  // Été/ça
    {"outside/c.mp3", false, false},
    {"outside/\xCE\xA9mega 2.mp3", false, true},
};

class PyTivoPublishTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    fs::create_directories(playlists_);
    // "Share Mix" holds every song above, "Only AAC" one that is never written.
    std::vector<std::string> songs;
    std::vector<int> mix;
    for (const Song& song : kSongs) {
      testing::WriteBytes(root_ / NativePath(song.path), "");
      mix.push_back(static_cast<int>(songs.size()));
      songs.push_back(Str(root_ / NativePath(song.path)));
    }
    songs.push_back(Str(share_ / "Rock" / "e.m4a"));
    WriteSmallLibrary(songs, {{"Share Mix", mix}, {"Only AAC", {mix.back() + 1}}});
    // With a line pyTivo passes over and a share whose folder is gone.
    config_ = WriteFile("pyTivo.conf", "[Server]\nport = 9032\n\n[Music]\ntype = music\nno value\npath = " +
                                           Str(share_) + "\n\n[Video]\ntype = video\npath = " + Str(root_) +
                                           "\n[Gone]\ntype = music\npath = " + Str(root_ / "nowhere") + "\n");
  }

  // Publishes the two playlists; the songs the report counts are the ones
  // pyTivo will not play.
  void PublishAndCheck(bool utf8) {
    const ProcessResult result =
        Run({"--library", libraryPath_, "publish", "--playlist", "Share Mix", "--playlist", "Only AAC"});
    ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
    // Songs outside the share are counted for a folder in POSIX form only.
    EXPECT_TRUE(Contains(result.out, "[Done (7 songs)] Share Mix") && Contains(result.out, "[Done (empty)] Only AAC") &&
                (kWindows || Contains(result.out, "Songs outside the pyTivo share:\t\t2\n")) &&
                Contains(result.out, "Songs with names the code page cannot hold:\t3\n") != utf8) << result.out;

    // The entries as pyTivo reads them: decoded, lines stripped, comments
    // left out, joined to the folder.
    const std::string extension = utf8 ? ".m3u8" : ".m3u";
    const std::string bytes = ReadBytes(playlists_ / ("Share Mix" + extension));
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF")) << "no byte order mark";
    std::vector<bool> plays, expected;
    for (std::string line : Lines(utf8 ? bytes : Windows1252ToUtf8(bytes))) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      if (line.empty() || line.front() == '#') continue;
      const fs::path joined = (playlists_ / NativePath(line)).lexically_normal();
      plays.push_back(Str(joined).starts_with(Str(share_ / "")) && fs::exists(joined));
    }
    for (const Song& song : kSongs) expected.push_back(song.inShare && (utf8 || !song.outside1252));
    EXPECT_EQ(plays, expected);
    // The empty playlist's file is gone, in the extension in use.
    EXPECT_FALSE(fs::exists(playlists_ / ("Only AAC" + extension)));
  }

  const fs::path share_ = dir_.Path() / "share", playlists_ = share_ / "Playlists";
  std::string config_;
};

TEST_F(PyTivoPublishTest, ShareIsPublishedAndEveryCountedSongIsOneThatWillNotPlay) {
  ProcessResult result =
      Run({"options", "--pytivo-config", config_, "--playlist-folder", Str(playlists_), "--delete-empty", "yes"});
  // Inside the share: no warning.
  EXPECT_TRUE(result.exitCode == 0 && result.err.empty() &&
              Contains(result.out, "pyTivo configuration: " + config_ + "\n"))
      << result.out << result.err;
  result = Run({"tivo"});
  // How the file is read is the pyTivo reader's rule (Windows' own INI reader
  // passes over a line it does not understand); here, that tivo shows it.
  const std::string problems =
      kWindows ? "" : "pyTivo configuration problems:\n  " + config_ + ", line 6: not understood: no value\n";
  EXPECT_TRUE(Contains(result.out, "pyTivo configuration:          " + config_ +
                                       " (set with quorvella-cli options --pytivo-config)\n" + problems +
                                       "pyTivo music shares:\n  Music: " + Str(share_) + "\n  Gone: " +
                                       Str(root_ / "nowhere") + " (missing)\n") &&
              Contains(result.out, "Playlist folder published:     yes\nPlaylist folder's share:       Music (" +
                                       Str(share_) + ")\n"))
      << result.out;
  PublishAndCheck(false);

  result = Run({"options", "--encoding", "UTF-8"});
  EXPECT_TRUE(Contains(result.out, "Playlist encoding:    utf-8 (.m3u8 files)\n")) << result.out;
  PublishAndCheck(true);
  // list and a second publish follow the extension in use.
  EXPECT_TRUE(Contains(Run({"--library", libraryPath_, "list"}).out, "\texists\t90001\tShare Mix\n"));
  PublishAndCheck(true);
  EXPECT_TRUE(fs::exists(TrashFiles() / "Share Mix.m3u8"));

  // A file named that cannot be read is said; cleared, the search finds none
  // on a test machine, where no pyTivo is installed.
  const std::string missing = Str(root_ / "missing.conf");
  EXPECT_EQ(Run({"options", "--pytivo-config", missing}).err,
            "pyTivo's configuration file \"" + missing + "\" cannot be read: No such file or directory.\n");
  EXPECT_TRUE(Contains(Run({"options", "--pytivo-config", ""}).out, "pyTivo configuration: looked for"));
}

}  // namespace
}  // namespace quorvella::test
