// SPDX-License-Identifier: MIT
// quorvella-cli watch, run as a service runs it, while the test changes the
// library file under it the ways iTunes and copying tools do.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <functional>
#include <regex>
#include <set>

#include "app/CliFixture.h"
#include "platform/NativePath.h"
#ifdef _WIN32
#include <windows.h>
#endif
#include "bench/LibraryXml.h"
#include "platform/PathRules.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

class WatchCommandTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    library_ = MakeLibrary(21, 200, 6, 15);
    GiveEachPlaylistItsOwnFile(library_);
    ReplaceLibrary(LibraryBytes());
    ASSERT_EQ(Run({"options", "--playlist-folder", library_.PlaylistFolder}).exitCode, 0);
    // A short settling time keeps the test quick; the rule is the same.
    extraEnvironment_["QUORVELLA_WATCH_SETTLE"] = "0.3";
  }

  // Writes the library beside its place and renames it over, as a copy does.
  void ReplaceLibrary(const std::string& bytes) {
    const std::string part = libraryPath_ + ".part";
    std::ofstream(part, std::ios::binary) << bytes;
#ifdef _WIN32
    // The library's standard rename refuses to replace a file on Windows.
    MoveFileExW(NativePath(part).c_str(), NativePath(libraryPath_).c_str(), MOVEFILE_REPLACE_EXISTING);
#else
    fs::rename(part, libraryPath_);
#endif
  }
  std::string LibraryBytes() {
    std::string error;
    const std::string path = (root_ / "next.xml").string();
    EXPECT_TRUE(WriteLibraryXmlFile(library_, path, error)) << error;
    return ReadBytes(path);
  }
  GeneratedPlaylist& Normal() {
    return *std::find_if(library_.Playlists.begin(), library_.Playlists.end(), PublishedByAll);
  }

  // Runs watch and calls step(n) at the n-th line it logs (from 1); a step
  // returning false sends SIGTERM.
  ProcessResult Watch(std::vector<std::string> extra, std::function<bool(int)> step) {
    std::vector<std::string> args = {"--library", libraryPath_, "watch", "--all"};
    args.insert(args.end(), extra.begin(), extra.end());
    int seen = 0;
    bool stopped = false;
    RunOptions options;
    options.timeoutSeconds = 60;
    options.watcher = [&](ProcessId child, const std::string& out) {
      const int lines = static_cast<int>(std::count(out.begin(), out.end(), '\n'));
      while (!stopped && seen < lines) {
        if (!step(++seen)) {
          stopped = true;
          Interrupt(child, true);
        }
      }
    };
    return Run(args, options);
  }

  GeneratedLibrary library_;
};

// The counts of a pass line: written, unchanged, pruned.
std::string Counts(const std::string& line) {
  static const std::regex kPass(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d (\d+) written, (\d+) unchanged, (\d+) pruned, \d+ songs written, (\d+) problems)");
  std::smatch m;
  if (!std::regex_search(line, m, kPass)) return "not a pass: " + line;
  return m[1].str() + "/" + m[2].str() + "/" + m[3].str() + " problems " + m[4].str();
}

TEST_F(WatchCommandTest, PublishesEachGoodChangeOnceAndSaysABadOneOnce) {
  const std::string good = ReadBytes(libraryPath_);
  GeneratedPlaylist& playlist = Normal();
  const std::string oldFile =
      library_.PlaylistFolder + "/" + SanitizeFileName(playlist.Name, "_") + ".m3u";
  const ProcessResult result = Watch({"--poll", "1"}, [&](int line) {
    switch (line) {
      case 1:  // a renamed playlist, by a file renamed into place
        playlist.Name += " renamed";
        ReplaceLibrary(LibraryBytes());
        return true;
      case 2: {  // renamed again, rewritten in place
        playlist.Name += " again";
        std::ofstream(libraryPath_, std::ios::binary | std::ios::trunc) << LibraryBytes();
        return true;
      }
      case 3:  // cut off while it was copied
        ReplaceLibrary(good.substr(0, good.size() / 2));
        return true;
      case 4:  // and then whole again
        ReplaceLibrary(LibraryBytes());
        return true;
      default:
        return false;
    }
  });
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 5u) << result.out;
  // Each renaming writes one file and prunes the old one (so the first
  // name's file is gone); the cut file is said once and changes nothing;
  // the whole one again leaves nothing to write.
  const int all = std::stoi(Counts(lines[0]));
  const std::string rest = std::to_string(all - 1);
  EXPECT_EQ((std::vector{Counts(lines[0]), Counts(lines[1]), Counts(lines[2]), Counts(lines[4])}),
            (std::vector<std::string>{std::to_string(all) + "/0/0 problems 0",
                                      "1/" + rest + "/1 problems 0", "1/" + rest + "/1 problems 0",
                                      "0/" + std::to_string(all) + "/0 problems 0"}));
  EXPECT_FALSE(fs::exists(oldFile));
  EXPECT_TRUE(Contains(lines[3], "The library does not read; the last publish stands")) << lines[3];
}

TEST_F(WatchCommandTest, PollingAloneSeesAChangeAndASecondWatchIsRefused) {
  extraEnvironment_["QUORVELLA_WATCH_NOTIFY"] = "0";
  // It ends by itself after the second pass.
  extraEnvironment_["QUORVELLA_WATCH_PASSES"] = "2";
  ProcessResult second;
  const ProcessResult result = Watch({"--poll", "1"}, [&](int line) {
    if (line == 1) {
      second = Run({"--library", libraryPath_, "watch", "--all"});
      Normal().Name += " renamed";
      std::ofstream(libraryPath_, std::ios::binary | std::ios::trunc) << LibraryBytes();
    }
    return true;
  });
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_TRUE(Contains(second.err, "Another quorvella-cli watch is already running")) << second.err;
  const auto lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 2u) << result.out;
  EXPECT_TRUE(Counts(lines[1]).starts_with("1/")) << lines[1];
  EXPECT_TRUE(Counts(lines[1]).ends_with("/1 problems 0")) << lines[1];
}

TEST_F(WatchCommandTest, SigtermDuringAPassLeavesOnlyWholeFiles) {
  library_ = MakeLibrary(22, 20000, 40, 400, false);
  GiveEachPlaylistItsOwnFile(library_);
  ReplaceLibrary(LibraryBytes());
  const ProcessResult result = Watch({}, [&](int line) {
    if (line > 1) return false;
    // Every playlist changes; the stop comes while they are written.
    for (auto& playlist : library_.Playlists) {
      if (!playlist.Items.empty()) playlist.Items.pop_back();
    }
    ReplaceLibrary(LibraryBytes());
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    return false;
  });
  EXPECT_EQ(result.exitCode, 0) << result.err;
  for (const auto& entry : fs::directory_iterator(library_.PlaylistFolder)) {
    const std::string name = entry.path().filename().string();
    EXPECT_FALSE(name.ends_with(".part")) << name;
    if (!name.ends_with(".m3u")) continue;
    const std::string bytes = ReadBytes(entry.path());
    EXPECT_TRUE(bytes.starts_with("#EXTM3U\r\n") && bytes.ends_with("\r\n")) << name;
  }
}

}  // namespace
}  // namespace quorvella::test
