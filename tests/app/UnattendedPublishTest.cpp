// SPDX-License-Identifier: MIT
// publish --changed-only and --prune, list --stale and playlists that share
// a file name, on generated libraries in a temporary folder.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include "app/CliFixture.h"
#include "bench/LibraryXml.h"
#include "platform/NativePath.h"
#include "platform/PathRules.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

class UnattendedPublishTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    library_ = MakeLibrary(11, 300, 8, 20);
    // Only the test of playlists that share a file name keeps such a pair.
    GiveEachPlaylistItsOwnFile(library_);
    Rewrite();
    folder_ = NativePath(library_.PlaylistFolder);
    ASSERT_EQ(Run({"options", "--playlist-folder", library_.PlaylistFolder}).exitCode, 0);
  }
  ProcessResult Publish(std::vector<std::string> args = {}) {
    args.insert(args.begin(), {"--library", libraryPath_, "publish", "--all"});
    return Run(args);
  }
  void Rewrite() {
    std::string error;
    ASSERT_TRUE(WriteLibraryXmlFile(library_, libraryPath_, error)) << error;
  }
  // Each file of a folder with its bytes (or its modification time).
  static std::map<std::string, std::string> Files(const fs::path& folder, bool times = false) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
      if (entry.is_regular_file())
        files[Utf8Path(entry.path().filename())] =
            times ? std::to_string(entry.last_write_time().time_since_epoch().count()) : ReadBytes(entry.path());
    return files;
  }
  std::size_t TrashCount() const { return fs::exists(TrashFiles()) ? Files(TrashFiles()).size() : 0; }
  std::string FileOf(const std::string& name) const {
    return Str(folder_ / NativePath(SanitizeFileName(name, "_") + ".m3u"));
  }

  GeneratedLibrary library_;
  fs::path folder_;
};

// The report without the lines that name files moved to the trash.
std::string Report(const std::string& out) { return out.substr(out.find("Quorvella has finished publishing")); }

TEST_F(UnattendedPublishTest, ChangedOnlyLeavesEqualFilesAloneAndRewritesAChangedOne) {
  const ProcessResult full = Publish();
  ASSERT_EQ(full.exitCode, 0) << full.err;
  const auto bytes = Files(folder_);
  const std::size_t trashed = TrashCount();
  // Nothing changed: no file is replaced, and the report is a full publish's.
  EXPECT_EQ(Report(Publish({"--changed-only"}).out), Report(full.out));
  EXPECT_EQ(TrashCount(), trashed);

  // One playlist loses half its songs: only its file is written again.
  GeneratedPlaylist& changed = PublishedByAll(library_);
  changed.Items.resize(changed.Items.size() / 2);
  Rewrite();
  EXPECT_EQ(Publish({"--changed-only"}).exitCode, 0);
  std::set<std::string> rewritten;
  // By their bytes: Wine's file times do not always tell a file replaced.
  for (const auto& [name, now] : Files(folder_))
    if (bytes.at(name) != now) rewritten.insert(Str(folder_ / NativePath(name)));
  EXPECT_EQ(rewritten, std::set{FileOf(changed.Name)});
  EXPECT_EQ(TrashCount(), trashed + 1);
}

TEST_F(UnattendedPublishTest, PruneRemovesOnlyStaleFilesItWroteAsItLeftThem) {
  ASSERT_EQ(Publish().exitCode, 0);
  GeneratedPlaylist& renamed = PublishedByAll(library_);
  const std::string renamedFile = FileOf(renamed.Name);
  const std::string editedFile = FileOf(PublishedByAll(library_, 1).Name);
  testing::WriteBytes(folder_ / "mine.m3u", "#EXTM3U\r\n");
  // The user edits the file of a playlist that is then deleted.
  std::ofstream(NativePath(editedFile), std::ios::app) << "extra.mp3\r\n";
  library_.Playlists.erase(library_.Playlists.begin() + (&PublishedByAll(library_, 1) - library_.Playlists.data()));
  renamed.Name += " (renamed)";
  Rewrite();

  EXPECT_EQ(Run({"--library", libraryPath_, "list", "--stale"}).out,
            renamedFile + "\n" + editedFile + "\t(changed since written; left alone)\n");
  const ProcessResult pruned = Publish({"--changed-only", "--prune"});
  ASSERT_EQ(pruned.exitCode, 0) << pruned.err;
  EXPECT_TRUE(Contains(pruned.out, "Moved the stale playlist file \"" + renamedFile + "\"")) << pruned.out;
  EXPECT_TRUE(Contains(pruned.err, editedFile + "\" was changed since it was written")) << pruned.err;
  EXPECT_EQ((std::vector{fs::exists(NativePath(renamedFile)), fs::exists(NativePath(editedFile)),
                         fs::exists(folder_ / "mine.m3u"), fs::exists(NativePath(FileOf(renamed.Name)))}),
            (std::vector{false, true, true, true}));
  // Nothing stale is left to list.
  EXPECT_EQ(Run({"--library", libraryPath_, "list", "--stale"}).out, "");
}

TEST_F(UnattendedPublishTest, TwoPlaylistsWithOneFileNameAreNamedOnceEach) {
  PublishedByAll(library_).Name = "Road: Trip";
  PublishedByAll(library_, 1).Name = "Road/ Trip";
  Rewrite();
  const ProcessResult result = Publish();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string line = "The playlists \"Road: Trip\" and \"Road/ Trip\" both write the file "
                           "\"Road_ Trip.m3u\"; it holds the last one written.";
  EXPECT_EQ(result.err, "quorvella-cli: " + line + "\n");
  // In the report, right after the statistics.
  const auto stats = result.out.find("Total songs written:"), at = result.out.find("\n" + line + "\n");
  EXPECT_TRUE(at > stats && result.out.find("\n\n", stats) > at) << result.out;

  // Only the last one's file stays, so only it is compared: nothing is written again.
  const auto files = Files(folder_, true);
  EXPECT_EQ(Publish({"--changed-only"}).err, "quorvella-cli: " + line + "\n");
  EXPECT_EQ(Files(folder_, true), files);
}

}  // namespace
}  // namespace quorvella::test
