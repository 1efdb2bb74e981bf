// SPDX-License-Identifier: MIT
// quorvella-cli watch, run as a service runs it, while the test changes the
// library file under it the ways iTunes and copying tools do.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <regex>
#include <thread>

#include "app/CliFixture.h"
#include "bench/LibraryXml.h"
#include "platform/NativePath.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

class WatchCommandTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    Generate(21, 200, 6, 15);
    ASSERT_EQ(Run({"options", "--playlist-folder", library_.PlaylistFolder}).exitCode, 0);
    // A short settling time keeps the test quick; the rule is the same.
    extraEnvironment_["QUORVELLA_WATCH_SETTLE"] = "0.3";
  }
  void Generate(std::uint64_t seed, int tracks, int playlists, int songs) {
    library_ = MakeLibrary(seed, tracks, playlists, songs, false);
    GiveEachPlaylistItsOwnFile(library_);
    ReplaceLibrary(LibraryBytes());
  }
  // Writes the library beside its place and renames it over, as a copy does.
  void ReplaceLibrary(const std::string& bytes) {
    std::ofstream(NativePath(libraryPath_ + ".part"), std::ios::binary) << bytes;
    fs::rename(NativePath(libraryPath_ + ".part"), NativePath(libraryPath_));
  }
  std::string LibraryBytes() {
    std::string error;
    const std::string path = Str(root_ / "next.xml");
    EXPECT_TRUE(WriteLibraryXmlFile(library_, path, error)) << error;
    return ReadBytes(path);
  }

  // Runs watch (polling each second, or not at all) and calls step(n) at
  // the n-th line it logs (from 1); a step returning false stops it as a
  // service manager does.
  ProcessResult Watch(bool poll, std::function<bool(int)> step) {
    int seen = 0;
    bool stopped = false;
    const auto watcher = [&](ProcessId child, const std::string& out) {
      for (const long lines = std::count(out.begin(), out.end(), '\n'); !stopped && seen < lines;)
        if (!step(++seen)) Interrupt(child, true), stopped = true;
    };
    std::vector<std::string> args = {"--library", libraryPath_, "watch", "--all", "--poll", "1"};
    if (!poll) args.resize(4);
    return Run(args, {.watcher = watcher});
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

// Polling alone (no notifications) sees every change.
TEST_F(WatchCommandTest, PublishesEachGoodChangeOnceSaysABadOneOnceAndRefusesASecondWatch) {
  extraEnvironment_["QUORVELLA_WATCH_NOTIFY"] = "0";
  extraEnvironment_["QUORVELLA_WATCH_SETTLE"] = "0.1";  // each change is whole before the poll sees it
  const std::string good = ReadBytes(libraryPath_);
  GeneratedPlaylist& playlist = PublishedByAll(library_);
  // It ends by itself after four passes (the line of a library that does not read is none).
  extraEnvironment_["QUORVELLA_WATCH_PASSES"] = "4";
  ProcessResult second;
  const ProcessResult result = Watch(true, [&](int line) {
    if (line == 1) second = Run({"--library", libraryPath_, "watch", "--all"});
    if (line == 1 || line == 2) playlist.Name += " renamed";
    if (line == 1 || line == 4) ReplaceLibrary(LibraryBytes());  // renamed into place
    if (line == 2) std::ofstream(NativePath(libraryPath_), std::ios::binary | std::ios::trunc) << LibraryBytes();
    if (line == 3) ReplaceLibrary(good.substr(0, good.size() / 2));  // cut off while copied
    return true;
  });
  ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
  EXPECT_TRUE(second.exitCode == 1 && Contains(second.err, "Another quorvella-cli watch is already running"))
      << second.err;
  const auto lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 5u) << result.out;
  // Each renaming writes one file and prunes the old one; the cut file is
  // said once and changes nothing; the whole one again leaves nothing to write.
  const std::string all = std::to_string(std::stoi(Counts(lines[0]))), rest = std::to_string(std::stoi(all) - 1);
  EXPECT_EQ((std::vector{Counts(lines[0]), Counts(lines[1]), Counts(lines[2]), Counts(lines[4])}),
            (std::vector<std::string>{all + "/0/0 problems 0", "1/" + rest + "/1 problems 0",
                                      "1/" + rest + "/1 problems 0", "0/" + all + "/0 problems 0"}));
  EXPECT_TRUE(Contains(lines[3], "The library does not read; the last publish stands")) << lines[3];
}

TEST_F(WatchCommandTest, AStopDuringAPassLeavesOnlyWholeFiles) {
  if (!CanInterrupt()) GTEST_SKIP() << "no console to send Ctrl+Break through";
  Generate(22, 20000, 40, 400);
  const ProcessResult result = Watch(false, [&](int line) {
    if (line > 1) return false;
    // Every playlist changes; the stop comes while they are written.
    for (auto& playlist : library_.Playlists)
      if (!playlist.Items.empty()) playlist.Items.pop_back();
    ReplaceLibrary(LibraryBytes());
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    return false;
  });
  EXPECT_EQ(result.exitCode, 0) << result.err;
  for (const auto& entry : fs::directory_iterator(NativePath(library_.PlaylistFolder))) {
    const std::string name = Utf8Path(entry.path().filename());
    EXPECT_FALSE(name.ends_with(".part")) << name;
    const std::string bytes = ReadBytes(entry.path());
    EXPECT_TRUE(!name.ends_with(".m3u") || (bytes.starts_with("#EXTM3U\r\n") && bytes.ends_with("\r\n"))) << name;
  }
}

}  // namespace
}  // namespace quorvella::test
