// SPDX-License-Identifier: MIT
// quorvella-cli mappings, run as a user runs it: a library written on a Mac
// (the real one) or on a Windows PC (generated), whose songs were copied
// under another root of this computer.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>

#include "app/CliFixture.h"
#include "bench/LibraryXml.h"
#include "library/xml/XmlLibraryReader.h"
#include "platform/AnsiCodePage.h"
#include "platform/PathRules.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

const std::string kMacLibrary =
    std::string(QUORVELLA_TEST_DATA) + "/itunes-xml/mac-itunes-12.6.xml";

// A location prefix of the other computer and the folder it was copied to,
// as the test itself reckons them (ASCII letter case ignored for Windows).
struct Copy {
  std::string from;
  fs::path to;
};

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
  return text;
}

// Where a location's file lies here, or nothing when it was not copied.
std::optional<fs::path> CopiedTo(const std::string& location, const std::vector<Copy>& copies) {
  const bool windows = location.front() != '/';
  for (const Copy& copy : copies) {
    const std::string head = location.substr(0, copy.from.size());
    if (location.size() <= copy.from.size() ||
        (windows ? LowerAscii(head) != LowerAscii(copy.from) : head != copy.from)) {
      continue;
    }
    std::string rest = location.substr(copy.from.size());
    if (windows) std::replace(rest.begin(), rest.end(), '\\', '/');
    return copy.to / rest;
  }
  return std::nullopt;
}

// What publishing with Check All must do, worked out from the library file
// read without mappings.
struct Expected {
  std::map<std::string, long long> report;  // "Total songs written" and the like
  // Playlist file, its song lines in the playlist's code page.
  std::map<std::string, std::vector<std::string>> files;
  long long copiedSongs = 0;
};

Expected ExpectedPublish(const std::string& libraryFile, const std::vector<Copy>& copies,
                         const fs::path& playlistFolder, const std::vector<std::string>& exts) {
  PlaylistIds ids;
  const auto library = ReadXmlLibraryFile(libraryFile, ids);
  AnsiEncoder encoder(kWesternCodePage);  // what the tests' English locale writes
  Expected expected;
  for (const XmlPlaylist& playlist : library->PlaylistList()) {
    const bool checkAll = playlist.Kind() == 2 &&
                          (playlist.SpecialKind() == 0 || playlist.SpecialKind() == 3) &&
                          LowerAscii(playlist.NameText()) != "all rated songs";
    if (!checkAll) continue;
    ++expected.report["Playlists published"];
    std::vector<std::string> lines;
    for (const std::int32_t item : playlist.Items()) {
      const XmlTrack& track = library->TrackList()[static_cast<std::size_t>(item)];
      const std::string location(track.LocationView());
      const std::string ext = LowerAscii(location.substr(location.find_last_of('.') + 1));
      if (!track.HasLocation() || std::find(exts.begin(), exts.end(), ext) == exts.end()) {
        ++expected.report["Total songs ignored (wrong format)"];
        continue;
      }
      const auto here = CopiedTo(location, copies);
      if (!here && location.front() != '/') {
        ++expected.report["Total unreachable songs"];  // a Windows path has no relative path here
        continue;
      }
      ++expected.report["Total songs written"];
      const fs::path song = here ? *here : fs::path(location);
      lines.push_back(encoder.Encode(song.lexically_relative(playlistFolder).string()));
      if (here) ++expected.copiedSongs;
    }
    // Playlists whose names give the same file name share it: the last one
    // written stays.
    const std::string file = SanitizeFileName(playlist.NameText(), "_") + ".m3u";
    if (lines.empty()) {
      ++expected.report["Empty playlists deleted"];
      expected.files.erase(file);
    } else {
      expected.files[file] = lines;
    }
  }
  return expected;
}

class MappingsCommandTest : public CliTest {
 protected:
  // Empty files for every file track whose location a copy covers.
  long long LayCopies(const std::string& libraryFile, const std::vector<Copy>& copies) {
    PlaylistIds ids;
    const auto library = ReadXmlLibraryFile(libraryFile, ids);
    long long laid = 0;
    for (const XmlTrack& track : library->TrackList()) {
      if (!track.HasLocation()) continue;
      if (const auto here = CopiedTo(std::string(track.LocationView()), copies)) {
        fs::create_directories(here->parent_path());
        std::ofstream{*here};
        ++laid;
      }
    }
    return laid;
  }

  ProcessResult Cli(const std::string& libraryFile, std::vector<std::string> args) {
    args.insert(args.begin(), {"--library", libraryFile});
    return Run(args);
  }

  // The report's counts: "Label:<tabs>N" lines.
  static std::map<std::string, long long> ReportCounts(const std::string& out) {
    std::map<std::string, long long> counts;
    static const std::regex kCount(R"(^([A-Z][^:\t]*):\t+([\d,]+)$)");
    for (const std::string& line : Lines(out)) {
      std::smatch m;
      if (!std::regex_match(line, m, kCount)) continue;
      std::string digits = m[2];
      std::erase(digits, ',');
      counts[m[1]] = std::stoll(digits);
    }
    return counts;
  }

  // Publishes with Check All and compares the report and the files with
  // what was expected.
  void PublishAllAsExpected(const std::string& libraryFile, const Expected& expected,
                            const fs::path& playlistFolder) {
    const ProcessResult publish = Cli(libraryFile, {"publish", "--all"});
    ASSERT_EQ(publish.exitCode, 0) << publish.out << publish.err;
    std::map<std::string, long long> wanted = expected.report;
    wanted.erase("Likely unreachable songs");
    EXPECT_EQ(ReportCounts(publish.out), wanted) << publish.out;

    std::map<std::string, std::vector<std::string>> files;
    for (const auto& entry : fs::directory_iterator(playlistFolder)) {
      if (entry.path().extension() != ".m3u") continue;
      std::vector<std::string> songs;
      for (const std::string& line : Lines(ReadBytes(entry.path()))) {
        if (line.empty() || line.front() == '#') continue;
        const std::string song = line.substr(0, line.size() - 1);  // CR LF
        // Every song is a POSIX path relative to the playlist folder, and one
        // inside that folder names its file.
        EXPECT_EQ(song.find('\\'), std::string::npos) << song;
        EXPECT_NE(song.front(), '/') << song;
        // A character the code page lacks became "?", which names no file.
        const bool plain =
            std::all_of(song.begin(), song.end(), [](char c) { return c > 0 && c != '?'; });
        if (plain && !song.starts_with("../")) {
          EXPECT_TRUE(fs::exists(playlistFolder / song)) << song;
        }
        songs.push_back(song);
      }
      files[entry.path().filename().string()] = songs;
    }
    EXPECT_EQ(files, expected.files);
  }

  std::set<std::string> ListedAsExisting(const std::string& libraryFile) {
    std::set<std::string> names;
    for (const std::string& line : Lines(Cli(libraryFile, {"list"}).out)) {
      static const std::regex kRow(R"(^\d\texists\t\d+\t(.*)$)");
      std::smatch m;
      if (std::regex_match(line, m, kRow)) names.insert(m[1]);
    }
    return names;
  }
};

TEST_F(MappingsCommandTest, AMacLibraryPublishesFromTheFoldersSuggestFinds) {
  const fs::path copy = root_ / "nas" / "itunes";
  const std::vector<Copy> copies = {{"/Users/nathan/Music/iTunes/iTunes Media/", copy}};
  ASSERT_EQ(LayCopies(kMacLibrary, copies), 373);

  ProcessResult result = Cli(kMacLibrary, {"mappings", "check"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, kMacLibrary +
                            ": 388 tracks with a file\n"
                            "Not mapped: 388 tracks, 0 found where the library names them\n"
                            "Not mapped and not found, by folder:\n"
                            "       386  /Users/nathan\n"
                            "         2  /Volumes/data/Music/iTunes\n");

  result = Cli(kMacLibrary, {"mappings", "suggest", "--search", (root_ / "nas").string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string proposal = "/Users/nathan/Music/iTunes/iTunes Media -> " + copy.string() +
                               ": 40 of 40 sampled tracks found (100 %)";
  EXPECT_TRUE(Contains(result.out, "\n" + proposal + "\n")) << result.out;
  EXPECT_EQ(Run({"mappings", "list"}).out, "") << "suggest alone stores nothing";

  result =
      Cli(kMacLibrary, {"mappings", "suggest", "--search", (root_ / "nas").string(), "--apply"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Run({"mappings", "list"}).out,
            "/Users/nathan/Music/iTunes/iTunes Media\t" + copy.string() + "\n");
  result = Cli(kMacLibrary, {"mappings", "check"});
  EXPECT_TRUE(Contains(result.out, " -> " + copy.string() + ": 373 tracks mapped, 373 found\n"))
      << result.out;
  EXPECT_TRUE(Contains(result.out, "       13  /Users/nathan/Movies/THEAMERICANS\n")) << result.out;

  // The library's songs are AAC files: the plug-in's extra types make them
  // publishable, the playlist folder is the copy's own root.
  const std::string reg = WriteFile(
      "plugin.reg",
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop\\Modules\\UniversalAudio.dll\\Config]\r\n"
      "\"custom\"=\"m4a,m4p,m4v\"\r\n");
  ASSERT_EQ(Run({"registry", "import", reg}).exitCode, 0);
  result = Run({"options", "--playlist-folder", copy.string(), "--mode", "enhanced", "--check",
                "m4a", "--check", "m4p", "--check", "m4v"});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  const Expected expected =
      ExpectedPublish(kMacLibrary, copies, copy, {"mp3", "aac", "wma", "ogg", "m4a", "m4p", "m4v"});
  EXPECT_GE(expected.copiedSongs, 1);
  PublishAllAsExpected(kMacLibrary, expected, copy);
  std::set<std::string> published;
  for (const auto& [file, songs] : expected.files)
    published.insert(file.substr(0, file.size() - 4));
  EXPECT_EQ(ListedAsExisting(kMacLibrary), published);
}

TEST_F(MappingsCommandTest, AWindowsLibraryPublishesFromTheFoldersSuggestFinds) {
  // Made by the generator: no real Windows library is at hand.
  LibraryOptions options;
  options.Seed = 5;
  options.Tracks = 600;
  options.Playlists = 12;
  options.SongsPerPlaylist = 30;
  options.Form = UrlForm::Windows;
  options.MusicRoot = R"(C:\Users\Adam\Music\iTunes\iTunes Media)";
  const GeneratedLibrary library = GenerateLibrary(options);
  std::string error;
  ASSERT_TRUE(WriteLibraryXmlFile(library, libraryPath_, error)) << error;

  const fs::path media = root_ / "srv" / "media";
  const fs::path nas = root_ / "mnt" / "nas";
  const std::vector<Copy> copies = {{options.MusicRoot + "\\", media}, {R"(\\nas\music\)", nas}};
  ASSERT_GT(LayCopies(libraryPath_, copies), 300);
  const fs::path playlists = media / "Playlists";
  fs::create_directories(playlists);

  ProcessResult result =
      Cli(libraryPath_, {"mappings", "suggest", "--search", (root_ / "srv").string(), "--search",
                         (root_ / "mnt").string(), "--apply"});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  // The music folder first, then what the other missing tracks lead to,
  // the most first; nothing for the songs on E:, which were not copied.
  EXPECT_EQ(Run({"mappings", "list"}).out, options.MusicRoot + "\\Music\t" +
                                               (media / "Music").string() + "\n" +
                                               options.MusicRoot + "\t" + media.string() + "\n" +
                                               R"(\\nas\music)" + "\t" + nas.string() + "\n")
      << result.out;
  result = Cli(libraryPath_, {"mappings", "check"});
  EXPECT_TRUE(Contains(result.out, "Not mapped and not found, by folder:\n")) << result.out;
  for (const std::string& line : Lines(result.out)) {
    if (line.find(" -> ") == std::string::npos) continue;
    static const std::regex kRule(R"(: ([\d,]+) tracks mapped, ([\d,]+) found$)");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(line, m, kRule)) << line;
    EXPECT_EQ(m[1], m[2]) << line;
  }

  ASSERT_EQ(Run({"options", "--playlist-folder", playlists.string()}).exitCode, 0);
  Expected expected = ExpectedPublish(libraryPath_, copies, playlists, {"mp3"});
  EXPECT_GE(expected.copiedSongs, 50);
  EXPECT_GE(expected.report["Total unreachable songs"], 1);
  PublishAllAsExpected(libraryPath_, expected, playlists);
}

TEST_F(MappingsCommandTest, BadInputIsRefusedAndADuplicateReplaces) {
  const fs::path music = root_ / "music";
  fs::create_directories(music);
  const std::string file = WriteFile("a-file", "x");
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string err;
  };
  const Case cases[] = {
      {{"mappings", "add", "C:\\Music", (root_ / "missing").string()},
       1,
       "quorvella-cli: The folder \"" + (root_ / "missing").string() + "\" does not exist.\n"},
      {{"mappings", "add", "C:\\Music", file},
       1,
       "quorvella-cli: \"" + file + "\" is not a folder.\n"},
      {{"mappings", "add", "Music", music.string()},
       1,
       "quorvella-cli: \"Music\" is not a full path: a location to map begins with a drive "
       "(C:\\), a network share (\\\\server\\share) or a slash (/Volumes/data).\n"},
      {{"mappings", "add", "/a|b", music.string()},
       1,
       "quorvella-cli: \"/a|b\" holds a \"|\", which a location to map cannot hold.\n"},
      {{"mappings", "add", "C:\\Music"},
       2,
       "quorvella-cli mappings add: FROM and TO are needed\nRun 'quorvella-cli mappings add "
       "--help' for its usage.\n"},
      {{"mappings", "remove", "D:\\Nothing"},
       1,
       "quorvella-cli: There is no mapping of \"D:\\Nothing\" (quorvella-cli mappings list shows "
       "them).\n"},
      {{"mappings", "rename"},
       2,
       "quorvella-cli mappings: unexpected argument: rename\nRun 'quorvella-cli mappings "
       "--help' for its usage.\n"},
      {{"mappings", "suggest", "--depth", "0"},
       2,
       "quorvella-cli mappings suggest: --depth takes a whole number above 0\nRun "
       "'quorvella-cli mappings suggest --help' for its usage.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[1] + " " + (c.args.size() > 2 ? c.args[2] : ""));
    const ProcessResult result = Run(c.args);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_EQ(result.err, c.err);
  }
  EXPECT_EQ(Run({"mappings", "list"}).out, "");

  ProcessResult result = Run({"mappings", "add", "C:\\Music\\", music.string() + "/"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "C:\\Music\\\t" + music.string() + "\n");
  fs::create_directories(root_ / "other");
  result = Run({"mappings", "add", "file://localhost/c:/MUSIC", (root_ / "other").string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "The mapping of C:\\Music\\ to " + music.string() +
                            " is replaced.\nc:\\MUSIC\t" + (root_ / "other").string() + "\n");
  result = Run({"mappings", "remove", "C:/Music"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Run({"mappings", "list"}).out, "");
}

}  // namespace
}  // namespace quorvella::test
