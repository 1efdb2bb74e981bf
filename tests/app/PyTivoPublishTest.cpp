// SPDX-License-Identifier: MIT
// quorvella-cli publishing into a pyTivo music share, checked by pyTivo's own
// rules: an entry is joined to the playlist's folder and normalised, plays
// only when it names an existing file inside the share, and an .m3u file is
// read as Windows-1252, an .m3u8 file as UTF-8.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "app/CliFixture.h"
#include "bench/LibraryXml.h"
#include "platform/TextEncoding.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

struct Song {
  std::string path;  // relative to the test's root
  bool inShare;
  bool outside1252;  // a character Windows-1252 has no byte for
};

// Songs reached from share/Playlists with and without "..", outside the
// share, and with names outside Windows-1252 on both sides.
const Song kSongs[] = {
    {"share/Playlists/a.mp3", true, false},
    {"share/Playlists/Sub/\xE6\x97\xA5\xE6\x9C\xAC.mp3", true, true},  // 日本
    {"share/Rock/b.mp3", true, false},
    {"share/Rock/\xCE\xA9mega.mp3", true, true},                  // Ωmega
    {"share/\xC3\x89t\xC3\xA9/\xC3\xA7" "a.mp3", true, false},  // Été/ça
    {"outside/c.mp3", false, false},
    {"outside/\xCE\xA9mega 2.mp3", false, true},
};

class PyTivoPublishTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    share_ = root_ / "share";
    playlists_ = share_ / "Playlists";
    fs::create_directories(playlists_);
    for (const Song& song : kSongs) {
      fs::create_directories((root_ / song.path).parent_path());
      std::ofstream(root_ / song.path) << "";
    }
    config_ = WriteFile("pyTivo.conf",
                        "[Server]\nport = 9032\n\n[Music]\ntype = music\npath = " +
                            share_.string() + "\n\n[Video]\ntype = video\npath = " +
                            root_.string() + "\n");
    WriteLibrary();
  }

  // A small generated library with two playlists of its own on top: "Share
  // Mix" of every song above, "Only AAC" of one song that is never written.
  void WriteLibrary() {
    LibraryOptions options;
    options.Tracks = 10;
    options.Playlists = 2;
    options.SongsPerPlaylist = 3;
    options.MusicRoot = (root_ / "generated").string();
    GeneratedLibrary library = GenerateLibrary(options);
    const auto addTrack = [&](std::int32_t id, const std::string& path, const std::string& ext) {
      GeneratedTrack t;
      t.TrackId = id;
      t.Name = fs::path(path).stem().string();
      t.Kind = ext == "mp3" ? "MPEG audio file" : "AAC audio file";
      t.Ext = ext;
      t.Size = 1000;
      t.TotalTimeMs = 200000;
      t.PersistentId = "00000000000F" + std::to_string(id);
      t.Type = TrackType::File;
      t.Path = path;
      t.Location = FileUrl(path, UrlForm::Posix);
      library.Tracks.push_back(t);
    };
    GeneratedPlaylist mix;
    mix.Name = "Share Mix";
    mix.PlaylistId = 90001;
    mix.PersistentId = "00000000000E0001";
    std::int32_t id = 90000;
    for (const Song& song : kSongs) {
      addTrack(++id, (root_ / song.path).string(), "mp3");
      mix.Items.push_back(id);
    }
    GeneratedPlaylist aac = mix;
    aac.Name = "Only AAC";
    aac.PlaylistId = 90002;
    aac.PersistentId = "00000000000E0002";
    addTrack(++id, (root_ / "share/Rock/e.m4a").string(), "m4a");
    aac.Items = {id};
    library.Playlists.push_back(mix);
    library.Playlists.push_back(aac);
    std::string error;
    ASSERT_TRUE(WriteLibraryXmlFile(library, libraryPath_, error)) << error;
  }

  // The count after a label in the report; 0 when the line is not there.
  static int Count(const std::string& report, const std::string& label) {
    const std::regex line(label + "\\t+([\\d,]+)");
    std::smatch m;
    return std::regex_search(report, m, line) ? std::stoi(m[1]) : 0;
  }

  // The entries of a playlist file as pyTivo reads them: decoded, lines
  // stripped, comments left out.
  static std::vector<std::string> Entries(const fs::path& file, bool utf8) {
    const std::string bytes = ReadBytes(file);
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF")) << "no byte order mark";
    const std::string text = utf8 ? bytes : Windows1252ToUtf8(bytes);
    std::vector<std::string> entries;
    for (std::string line : Lines(text)) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      if (!line.empty() && line.front() != '#') entries.push_back(line);
    }
    return entries;
  }

  // Publishes the two playlists and checks the file against the report.
  void PublishAndCheck(bool utf8) {
    const ProcessResult result = Run(
        {"--library", libraryPath_, "publish", "--playlist", "Share Mix", "--playlist", "Only AAC"});
    ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
    EXPECT_TRUE(Contains(result.out, "[Done (7 songs)] Share Mix")) << result.out;
    EXPECT_TRUE(Contains(result.out, "[Done (empty)] Only AAC")) << result.out;

    int outside = 0, broken = 0, unplayable = 0;
    for (const Song& song : kSongs) {
      outside += song.inShare ? 0 : 1;
      broken += !utf8 && song.outside1252 ? 1 : 0;
      unplayable += !song.inShare || (!utf8 && song.outside1252) ? 1 : 0;
    }
    EXPECT_EQ(Count(result.out, "Songs outside the pyTivo share:"), outside) << result.out;
    EXPECT_EQ(Count(result.out, "Songs with names the code page cannot hold:"), broken)
        << result.out;

    const std::string extension = utf8 ? ".m3u8" : ".m3u";
    const auto entries = Entries(playlists_ / ("Share Mix" + extension), utf8);
    ASSERT_EQ(entries.size(), std::size(kSongs));
    int resolved = 0;
    for (const std::string& entry : entries) {
      EXPECT_EQ(entry.find('\\'), std::string::npos) << entry;
      const fs::path joined = (playlists_ / entry).lexically_normal();
      const std::string text = joined.string();
      const bool inside = text.starts_with(share_.string() + "/");
      if (inside && fs::exists(joined)) ++resolved;
    }
    // Every entry the report leaves out of its counts plays; the others do not.
    EXPECT_EQ(resolved, static_cast<int>(std::size(kSongs)) - unplayable);
    // The empty playlist's file is gone, in the extension in use.
    EXPECT_FALSE(fs::exists(playlists_ / ("Only AAC" + extension)));
  }

  fs::path share_, playlists_;
  std::string config_;
};

TEST_F(PyTivoPublishTest, ShareIsPublishedAndEveryCountedSongIsOneThatWillNotPlay) {
  ProcessResult result = Run({"options", "--pytivo-config", config_, "--playlist-folder",
                              playlists_.string(), "--delete-empty", "yes"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");  // inside the share: no warning
  EXPECT_TRUE(Contains(result.out, "pyTivo configuration: " + config_ + "\n")) << result.out;

  result = Run({"tivo"});
  EXPECT_TRUE(Contains(result.out, "pyTivo configuration:          " + config_ +
                                       " (set with quorvella-cli options --pytivo-config)\n"
                                       "pyTivo music shares:\n"
                                       "  Music: " + share_.string() + "\n"))
      << result.out;
  EXPECT_TRUE(Contains(result.out, "Playlist folder published:     yes\n"
                                   "Playlist folder's share:       Music (" +
                                       share_.string() + ")\n"))
      << result.out;

  PublishAndCheck(false);
  const std::string m3u = ReadBytes(playlists_ / "Share Mix.m3u");
  // Été/ça in Windows-1252 bytes.
  EXPECT_TRUE(Contains(m3u, "../\xC9t\xE9/\xE7" "a.mp3\r\n")) << m3u;

  result = Run({"options", "--encoding", "UTF-8"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(Contains(result.out, "Playlist encoding:    utf-8 (.m3u8 files)\n")) << result.out;
  PublishAndCheck(true);
  const std::string m3u8 = ReadBytes(playlists_ / "Share Mix.m3u8");
  for (const Song& song : kSongs) {
    const std::string name = fs::path(song.path).filename().string();
    EXPECT_TRUE(Contains(m3u8, name + "\r\n")) << name;  // every name intact
  }

  // list and a second publish follow the extension in use.
  result = Run({"--library", libraryPath_, "list"});
  EXPECT_TRUE(Contains(result.out, "\texists\t90001\tShare Mix\n")) << result.out;
  PublishAndCheck(true);
  EXPECT_TRUE(fs::exists(data_ / "Trash" / "files" / "Share Mix.m3u8"));
}

TEST_F(PyTivoPublishTest, UnreadableOrDamagedConfigurationIsReported) {
  ProcessResult result = Run({"options", "--encoding", "latin1"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(Contains(result.err, "--encoding takes ansi or utf-8")) << result.err;

  const std::string missing = (root_ / "missing.conf").string();
  result = Run({"options", "--pytivo-config", missing});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "pyTivo's configuration file \"" + missing +
                            "\" cannot be read: No such file or directory.\n");
  result = Run({"tivo"});
  EXPECT_TRUE(Contains(result.out, "pyTivo configuration problems:\n  " + missing +
                                       ": cannot be read: No such file or directory\n"))
      << result.out;

  const std::string damaged =
      WriteFile("damaged.conf", "[Music]\ntype = music\nthis line is no value\npath = " +
                                    share_.string() + "\n[Gone]\ntype = music\npath = /nowhere\n");
  result = Run({"options", "--pytivo-config", damaged});
  EXPECT_EQ(result.err, "");
  result = Run({"tivo"});
  EXPECT_TRUE(Contains(result.out, "  " + damaged + ", line 3: not understood: this line is no value\n"
                                   "pyTivo music shares:\n"
                                   "  Music: " + share_.string() + "\n"
                                   "  Gone: /nowhere (missing)\n"))
      << result.out;

  // Cleared, the search finds nothing on this system's own places... unless
  // a pyTivo is installed here, which a test machine does not have.
  result = Run({"options", "--pytivo-config", ""});
  EXPECT_TRUE(Contains(result.out, "pyTivo configuration: looked for")) << result.out;
}

}  // namespace
}  // namespace quorvella::test
