// SPDX-License-Identifier: MIT
// quorvella-cli list and publish, run as a user runs them, on generated
// libraries with real (empty) song files.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <regex>
#include <set>

#include "app/CliFixture.h"
#include "platform/PathRules.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

struct ListedPlaylist { int kind; bool exists; std::string name; };

class PublishCommandTest : public CliTest {
 protected:
  std::vector<ListedPlaylist> List() {
    const ProcessResult result = Run({"--library", libraryPath_, "list"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::vector<ListedPlaylist> rows;
    for (const auto& line : Lines(result.out)) {
      std::smatch m;
      EXPECT_TRUE(std::regex_match(line, m, std::regex(R"(^(\d)\t(exists|-)\t\d+\t(.*)$)"))) << line;
      if (!m.empty()) rows.push_back({std::stoi(m[1]), m[2] == "exists", m[3]});
    }
    return rows;
  }
  GeneratedLibrary Library(std::uint64_t seed, int tracks, int playlists, int songs, bool files = true) {
    GeneratedLibrary library = MakeLibrary(seed, tracks, playlists, songs, files);
    EXPECT_EQ(Run({"options", "--playlist-folder", library.PlaylistFolder}).exitCode, 0);
    return library;
  }
  static std::set<std::string> Files(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.path().extension() == ".m3u") names.insert(Utf8Path(entry.path().filename()));
    return names;
  }
};

TEST_F(PublishCommandTest, PublishAllWritesEveryCheckedPlaylistAndAgainTrashesTheOld) {
  const fs::path folder = NativePath(Library(7, 400, 14, 25).PlaylistFolder);
  std::vector<std::string> checked;
  for (const auto& row : List()) {
    EXPECT_FALSE(row.exists) << row.name;
    if (row.kind >= 6 && row.kind <= 8 && row.name != "All Rated Songs") checked.push_back(row.name);
  }
  ASSERT_GE(checked.size(), 10u);
  const ProcessResult result = Run({"--library", libraryPath_, "publish", "--all"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // No progress bar off a terminal; only pairs of playlists that share a
  // file name are told (their wording is held by the unattended tests).
  for (const auto& line : Lines(result.err)) EXPECT_TRUE(Contains(line, "both write the file"));
  // Every checked row is queued, then each is published in list order (how
  // many songs each holds is the writer's count).
  std::string expected;
  for (const auto& name : checked) expected += "[Queued] " + name + "\n";
  for (const auto& name : checked)
    expected += "[Publishing...] " + name + "\nPublishing " + name + "...\n[Done (N)] " + name + "\n";
  expected += "Done\n\nQuorvella has finished publishing the requested playlists.\n\nPlaylists published:\t\t\t";
  expected += std::to_string(checked.size()) + "\n";
  const std::string out =
      std::regex_replace(result.out, std::regex(R"(\[Done \((empty|1 song|[\d,]+ songs)\)\])"), "[Done (N)]");
  EXPECT_EQ(out.substr(0, expected.size()), expected);

  // A second listing sees the files; without options the playlists whose
  // file exists are the ones published again, and the old files are in the
  // trash.
  const std::set<std::string> first = Files(folder);
  std::string existing;
  for (const auto& row : List()) {
    EXPECT_EQ(row.exists, first.count(SanitizeFileName(row.name, "_") + ".m3u") == 1) << row.name;
    if (row.exists) existing += "[Queued] " + row.name + "\n";
  }
  const ProcessResult again = Run({"--library", libraryPath_, "publish"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_TRUE(!existing.empty() && again.out.starts_with(existing + "[Publishing...] ")) << again.out;
  EXPECT_EQ(Files(folder), first);
}

TEST_F(PublishCommandTest, NamedPlaylistsAreTheOnlyOnesPublishedWithProgressOnATerminal) {
  const fs::path folder = NativePath(Library(3, 300, 8, 20).PlaylistFolder);
  const ProcessResult result = Run({"--library", libraryPath_, "publish", "--playlist", "Summer Drive",
                                    "--playlist=Midnight Mix"}, {.watcher = {}, .stderrTerminal = !kWindows});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // Only a terminal (a POSIX pseudo-terminal here) shows the bar; each line
  // of the run first wipes it, and the run ends with it wiped.
  EXPECT_TRUE(kWindows || (Contains(result.err, "\r[------------------------------]   0% of all playlists,   0% of this one") &&
                           Contains(result.err, "% of all playlists, 100% of this one") && result.err.ends_with("\r\033[K")))
      << result.err;
  EXPECT_TRUE(result.out.starts_with("[Queued] Summer Drive\n[Queued] Midnight Mix\n[Publishing...] ")) << result.out;
  EXPECT_EQ(result.out.find('\r'), std::string::npos);
  EXPECT_EQ(Files(folder), (std::set<std::string>{"Midnight Mix.m3u", "Summer Drive.m3u"}));

  // A name that is not listed refuses the whole run; without names, nothing
  // is checked before a first run.
  for (const auto& name : Files(folder)) fs::remove(folder / NativePath(name));
  ExpectRuns(
      {{{"--library", libraryPath_, "publish", "--playlist", "Summer Drive", "--playlist", "No Such List"},
        1,
        "\"No Such List\""},
       {{"--library", libraryPath_, "publish"},
        1,
        "Please place a checkmark by at least one playlist and then click 'Publish Playlists to TiVo' again.\nNo "
        "playlist file is in the playlist folder yet: name the playlists with --playlist NAME, or publish all with "
        "--all.\n"}});
}

TEST_F(PublishCommandTest, AFolderThatCannotBeWrittenWarnsForEachPlaylist) {
#ifdef _WIN32
  GTEST_SKIP() << "a folder's mode and read-only mounts are POSIX's";
#else
  const std::string folder = Library(3, 300, 8, 20, false).PlaylistFolder;
  // Read-only by its mode; root writes there all the same, so for root a
  // read-only file system goes over it.
  const bool root = ::geteuid() == 0;
  if (root && ::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, "size=16k") != 0)
    GTEST_SKIP() << "no read-only file system can be mounted here";
  const std::unique_ptr<const char, void (*)(const char*)> restore(folder.c_str(), [](const char* path) {
    ::umount2(path, MNT_DETACH), ::chmod(path, 0755);
  });
  ASSERT_TRUE(root || ::chmod(folder.c_str(), 0555) == 0);
  const ProcessResult result =
      Run({"--library", libraryPath_, "publish", "--playlist", "Summer Drive", "--playlist", "Midnight Mix"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(Contains(result.out, "[Done (empty)] Summer Drive\n") &&
              Contains(result.out, "[Done (empty)] Midnight Mix\nDone\n"))
      << result.out;
  std::string expected;
  for (const char* name : {"Summer Drive", "Midnight Mix"}) {
    expected += "quorvella-cli: The playlist file \"" + folder + "/" + name + ".m3u\" could not be created: ";
    expected += root ? "Read-only file system.\n" : "Permission denied.\n";
  }
  EXPECT_EQ(result.err, expected);
#endif
}

// The wording of each problem is the reader's; here, that the command line
// shows it and fails.
TEST_F(PublishCommandTest, LibraryProblemsFailTheRun) {
  const std::string missing = Str(root_ / "missing.xml");
  // On Windows, in the Music folder the shell names.
  const std::string usual = kWindows ? "\\iTunes\\iTunes Library.xml" : Str(home_ / "Music/iTunes/iTunes Library.xml");
  ExpectRuns({
      {{"publish", "--all", "--library", missing}, 1, "\"" + missing + "\" cannot be opened: "},
      // Nothing named and nothing in the usual places.
      {{"list"}, 1, "No iTunes library file was found. These files were looked for:\n"},
      {{"list"}, 1, usual},
  });
}

// What the reader skips and how it says so is its own rule; here, that both
// commands show it, work on, and end with 3.
TEST_F(PublishCommandTest, AMalformedLibraryIsReadAsFarAsItCanBeAndSaysWhere) {
  const fs::path playlists = root_ / "music" / "Playlists";
  fs::create_directories(playlists);
  ASSERT_EQ(Run({"options", "--playlist-folder", Str(playlists)}).exitCode, 0);
  WriteSmallLibrary({Str(playlists / "one.mp3")}, {{"Mix", {0, 0}}});
  std::string xml = ReadBytes(libraryPath_);
  xml.replace(xml.rfind("<dict><key>Track ID"), 0, "\n<dict><key>Name</key><string>x</string></dict>\n");
  const std::string malformed = WriteFile("malformed.xml", xml);
  const std::string err =
      "quorvella-cli: The iTunes library file \"" + malformed +
      "\" is malformed in places; what could "
      "not be read there was left out:\n  line 13: a playlist item without \"Track ID\" is skipped\n";
  const ProcessResult list = Run({"--library", malformed, "list"}),
                      publish = Run({"--library", malformed, "publish", "--all"});
  EXPECT_EQ((std::vector{list.exitCode, publish.exitCode}), (std::vector{3, 3}));
  EXPECT_EQ(list.err + publish.err, err + err);
  EXPECT_TRUE(list.out.ends_with("\t-\t90001\tMix\n")) << list.out;
  EXPECT_EQ(ReadBytes(playlists / "Mix.m3u"), "#EXTM3U\r\n#EXTINF:0,one\r\none.mp3\r\n#EXTINF:0,one\r\none.mp3\r\n");
}

TEST_F(PublishCommandTest, FirstInterruptStopsTheRunWithItsReport) {
  if (!CanInterrupt()) GTEST_SKIP() << "no console to send Ctrl+Break through";
  // Big enough that the run is still going when the interrupt comes; no
  // song files are needed to write the playlists.
  Library(9, 20000, 80, 4000, false);
  bool sent = false;
  const auto interrupt = [&sent](ProcessId child, const std::string& out) {
    if (!sent && Contains(out, "[Publishing...] ")) Interrupt(child), sent = true;
  };
  const ProcessResult result = Run({"--library", libraryPath_, "publish", "--all"}, {.watcher = interrupt});
  ASSERT_TRUE(sent);
  EXPECT_EQ(result.termSignal, 0) << "ended by the interrupt instead of stopping";
  EXPECT_EQ(result.exitCode, 1) << result.err;
  // Stopped before the last playlist, with the report after it.
  EXPECT_TRUE(Contains(result.out, "\nStopped\n\nQuorvella has finished publishing the requested playlists.\n"))
      << result.out;
}

}  // namespace
}  // namespace quorvella::test
