// SPDX-License-Identifier: MIT
// quorvella-cli mappings, run as a user runs it: a library written on a Mac
// (the real one) or on a Windows PC (generated), whose songs were copied
// under another root of this computer.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "app/CliFixture.h"
#include "bench/LibraryXml.h"
#include "library/xml/XmlLibraryReader.h"
#include "platform/AnsiCodePage.h"
#include "platform/PathRules.h"
#include "platform/Text.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

const std::string kMacLibrary =
    std::string(QUORVELLA_TEST_DATA) + "/itunes-xml/mac-itunes-12.6.xml";

// A location prefix of the other computer and the folder it was copied to.
struct Copy {
  std::string from;  // with its trailing separator
  fs::path to;
};

// Where a location's file lies here, as the test reckons it; nothing when
// it was not copied.
std::optional<fs::path> CopiedTo(std::string location, const std::vector<Copy>& copies) {
  const bool windows = location.front() != '/';
  for (const Copy& copy : copies) {
    const std::string head = location.substr(0, copy.from.size());
    if (windows ? LowerAscii(head) != LowerAscii(copy.from) : head != copy.from) continue;
    if (windows) std::replace(location.begin(), location.end(), '\\', '/');
    return copy.to / location.substr(copy.from.size());
  }
  return std::nullopt;
}

// What publishing with Check All must report and write, worked out from
// the library read without mappings.
struct Expected {
  std::map<std::string, long long> report;                // "Total songs written" and so on
  std::map<std::string, std::vector<std::string>> files;  // file, its songs in Windows-1252
};

Expected ExpectedPublish(const std::string& libraryFile, const std::vector<Copy>& copies,
                         const fs::path& playlistFolder, const std::vector<std::string>& exts) {
  PlaylistIds ids;
  const auto library = ReadXmlLibraryFile(libraryFile, ids);
  AnsiEncoder encoder(kWesternCodePage);
  Expected expected;
  for (const XmlPlaylist& playlist : library->PlaylistList()) {
    if (playlist.Kind() != 2 || (playlist.SpecialKind() != 0 && playlist.SpecialKind() != 3) ||
        LowerAscii(playlist.NameText()) == "all rated songs") {
      continue;
    }
    ++expected.report["Playlists published"];
    std::vector<std::string> songs;
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
        ++expected.report["Total unreachable songs"];  // no relative path to a Windows path
        continue;
      }
      ++expected.report["Total songs written"];
      songs.push_back(encoder.Encode(
          (here ? *here : fs::path(location)).lexically_relative(playlistFolder).string()));
    }
    // Playlists whose names give one file name share it; the last one stays.
    const std::string file = SanitizeFileName(playlist.NameText(), "_") + ".m3u";
    if (songs.empty()) {
      ++expected.report["Empty playlists deleted"];
      expected.files.erase(file);
    } else {
      expected.files[file] = songs;
    }
  }
  return expected;
}

class MappingsCommandTest : public CliTest {
 protected:
  // Empty files for every song a copy covers; how many.
  int LayCopies(const std::string& libraryFile, const std::vector<Copy>& copies) {
    PlaylistIds ids;
    int laid = 0;
    const auto library = ReadXmlLibraryFile(libraryFile, ids);
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

  // Publishes with Check All; the report and the files must be as expected,
  // and every song a POSIX path relative to the playlist folder.
  void PublishAllAsExpected(const std::string& libraryFile, const Expected& expected,
                            const fs::path& playlistFolder) {
    const ProcessResult publish = Run({"--library", libraryFile, "publish", "--all"});
    ASSERT_EQ(publish.exitCode, 0) << publish.out << publish.err;
    std::map<std::string, long long> report;
    for (const std::string& line : Lines(publish.out)) {
      static const std::regex kCount(R"(^([A-Z][^:\t]*):\t+([\d,]+)$)");
      std::smatch m;
      if (std::regex_match(line, m, kCount))
        report[m[1]] = std::stoll(std::regex_replace(m[2].str(), std::regex(","), ""));
    }
    // Names the code page cannot hold are counted, and tested, elsewhere.
    report.erase("Songs with names the code page cannot hold");
    EXPECT_EQ(report, expected.report) << publish.out;

    std::map<std::string, std::vector<std::string>> files;
    for (const auto& entry : fs::directory_iterator(playlistFolder)) {
      if (entry.path().extension() != ".m3u") continue;
      auto& songs = files[entry.path().filename().string()];
      for (const std::string& line : Lines(ReadBytes(entry.path()))) {
        if (line.empty() || line.front() == '#') continue;
        const std::string song = line.substr(0, line.size() - 1);  // before CR LF
        EXPECT_TRUE(song.find('\\') == std::string::npos && song.front() != '/') << song;
        // A song inside the folder names its file, unless the code page
        // lacked one of its characters.
        if (!song.starts_with("../") && song.find('?') == std::string::npos &&
            std::all_of(song.begin(), song.end(), [](char c) { return c > 0; })) {
          EXPECT_TRUE(fs::exists(playlistFolder / song)) << song;
        }
        songs.push_back(song);
      }
    }
    EXPECT_EQ(files, expected.files);
  }
};

TEST_F(MappingsCommandTest, AMacLibraryPublishesFromTheFolderSuggestFinds) {
  const fs::path copy = root_ / "nas" / "itunes";
  const std::vector<Copy> copies = {{"/Users/nathan/Music/iTunes/iTunes Media/", copy}};
  ASSERT_EQ(LayCopies(kMacLibrary, copies), 373);

  ProcessResult result = Run({"--library", kMacLibrary, "mappings", "check"});
  EXPECT_EQ(result.out, kMacLibrary +
                            ": 388 tracks with a file\n"
                            "Not mapped: 388 tracks, 0 found where the library names them\n"
                            "Not mapped and not found, by folder:\n"
                            "       386  /Users/nathan\n"
                            "         2  /Volumes/data/Music/iTunes\n");
  result = Run(
      {"--library", kMacLibrary, "mappings", "suggest", "--search", copy.parent_path(), "--apply"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(Contains(result.out, "\n/Users/nathan/Music/iTunes/iTunes Media -> " + copy.string() +
                                       ": 40 of 40 sampled tracks found (100 %)\n"))
      << result.out;
  EXPECT_EQ(Run({"mappings", "list"}).out,
            "/Users/nathan/Music/iTunes/iTunes Media\t" + copy.string() + "\n");
  result = Run({"mappings", "check", "--library", kMacLibrary});
  EXPECT_TRUE(Contains(result.out, " -> " + copy.string() + ": 373 tracks mapped, 373 found\n"))
      << result.out;

  // Its songs are AAC files, which the plug-in's extra types make
  // publishable; the playlist folder is the copy's own root.
  ASSERT_EQ(Run({"registry", "import",
                 WriteFile("plugin.reg",
                           "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop\\Modules\\"
                           "UniversalAudio.dll\\Config]\r\n\"custom\"=\"m4a,m4p,m4v\"\r\n")})
                .exitCode,
            0);
  ASSERT_EQ(Run({"options", "--playlist-folder", copy.string(), "--mode", "enhanced", "--check",
                 "m4a", "--check", "m4p", "--check", "m4v"})
                .exitCode,
            0);
  const Expected expected =
      ExpectedPublish(kMacLibrary, copies, copy, {"mp3", "aac", "wma", "ogg", "m4a", "m4p", "m4v"});
  ASSERT_GE(expected.report.at("Total songs written"), 1);
  PublishAllAsExpected(kMacLibrary, expected, copy);
  // list shows the playlists whose files now exist.
  std::set<std::string> existing;
  for (const std::string& line : Lines(Run({"--library", kMacLibrary, "list"}).out)) {
    if (line.find("\texists\t") != std::string::npos)
      existing.insert(line.substr(line.rfind('\t') + 1) + ".m3u");
  }
  std::set<std::string> written;
  for (const auto& [file, songs] : expected.files) written.insert(file);
  EXPECT_EQ(existing, written);
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
  std::string error;
  ASSERT_TRUE(WriteLibraryXmlFile(GenerateLibrary(options), libraryPath_, error)) << error;
  const fs::path media = root_ / "srv" / "media";
  const fs::path nas = root_ / "mnt" / "nas";
  const std::vector<Copy> copies = {{options.MusicRoot + "\\", media}, {R"(\\nas\music\)", nas}};
  ASSERT_GT(LayCopies(libraryPath_, copies), 300);

  const ProcessResult result =
      Run({"--library", libraryPath_, "mappings", "suggest", "--search", (root_ / "srv").string(),
           "--search", nas.parent_path().string(), "--apply"});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  // The music folder first, then the other folders of missing songs, the
  // most first; nothing for the songs on E:, which were not copied.
  EXPECT_EQ(Run({"mappings", "list"}).out, options.MusicRoot + "\\Music\t" +
                                               (media / "Music").string() + "\n" +
                                               options.MusicRoot + "\t" + media.string() +
                                               "\n\\\\nas\\music\t" + nas.string() + "\n")
      << result.out;

  const fs::path playlists = media / "Playlists";
  ASSERT_EQ(Run({"options", "--playlist-folder", playlists.string()}).exitCode, 0);
  Expected expected = ExpectedPublish(libraryPath_, copies, playlists, {"mp3"});
  ASSERT_GE(expected.report["Total unreachable songs"], 1);
  PublishAllAsExpected(libraryPath_, expected, playlists);
}

TEST_F(MappingsCommandTest, BadInputIsRefusedAndADuplicateReplacesAfterSayingSo) {
  const std::string music = (root_ / "music").string();
  const std::string other = (root_ / "other").string();
  fs::create_directories(music);
  fs::create_directories(other);
  const std::string file = WriteFile("a-file", "x");
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"add", "C:\\Music", music + "/missing"},
       "The folder \"" + music + "/missing\" does not exist."},
      {{"add", "C:\\Music", file}, "\"" + file + "\" is not a folder."},
      {{"add", "/a|b", music}, "\"/a|b\" holds a \"|\", which a location to map cannot hold."},
      {{"remove", "D:\\Nothing"},
       "There is no mapping of \"D:\\Nothing\" (quorvella-cli mappings list shows them)."},
  };
  for (const auto& [args, message] : refused) {
    std::vector<std::string> command{"mappings"};
    command.insert(command.end(), args.begin(), args.end());
    const ProcessResult result = Run(command);
    EXPECT_EQ(result.exitCode, 1) << message;
    EXPECT_EQ(result.err, "quorvella-cli: " + message + "\n");
  }
  EXPECT_EQ(Run({"mappings", "add", "C:\\Music"}).exitCode, 2);
  EXPECT_EQ(Run({"mappings", "suggest", "--depth", "0"}).exitCode, 2);
  EXPECT_EQ(Run({"mappings", "list"}).out, "");

  EXPECT_EQ(Run({"mappings", "add", "C:\\Music\\", music + "/"}).out,
            "C:\\Music\\\t" + music + "\n");
  EXPECT_EQ(Run({"mappings", "add", "file://localhost/c:/MUSIC", other}).out,
            "The mapping of C:\\Music\\ to " + music + " is replaced.\nc:\\MUSIC\t" + other + "\n");
  EXPECT_EQ(Run({"mappings", "remove", "C:/Music"}).exitCode, 0);
  EXPECT_EQ(Run({"mappings", "list"}).out, "");
}

}  // namespace
}  // namespace quorvella::test
