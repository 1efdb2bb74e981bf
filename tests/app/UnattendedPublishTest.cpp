// SPDX-License-Identifier: MIT
// publish --changed-only and --prune, list --stale and playlists that share
// a file name, on generated libraries in a temporary folder.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include "app/CliFixture.h"
#include "bench/LibraryXml.h"
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
    ASSERT_EQ(Run({"options", "--playlist-folder", library_.PlaylistFolder}).exitCode, 0);
  }

  ProcessResult Publish(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--library", libraryPath_, "publish", "--all"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(args);
  }

  void Rewrite() {
    std::string error;
    ASSERT_TRUE(WriteLibraryXmlFile(library_, libraryPath_, error)) << error;
  }

  // Each .m3u file of the playlist folder with its modification time.
  std::map<std::string, fs::file_time_type> Files() const {
    std::map<std::string, fs::file_time_type> files;
    for (const auto& entry : fs::directory_iterator(library_.PlaylistFolder)) {
      files[entry.path().filename().string()] = entry.last_write_time();
    }
    return files;
  }

  std::string FileOf(const std::string& playlistName) const {
    return library_.PlaylistFolder + "/" + SanitizeFileName(playlistName, "_") + ".m3u";
  }

  std::size_t TrashCount() const {
    const fs::path trash = data_ / "Trash" / "files";
    if (!fs::exists(trash)) return 0;
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(trash), {}));
  }

  // A normal playlist with songs, which --all publishes.
  GeneratedPlaylist& Published(std::size_t skip = 0, bool written = true) {
    for (auto& playlist : library_.Playlists) {
      if (PublishedByAll(playlist) && (!written || fs::exists(FileOf(playlist.Name))) &&
          skip-- == 0) {
        return playlist;
      }
    }
    ADD_FAILURE() << "no published playlist";
    return library_.Playlists.front();
  }

  GeneratedLibrary library_;
};

// The report without the lines that name files moved to the trash.
std::string Report(const std::string& out) {
  const auto at = out.find("Quorvella has finished publishing");
  return at == std::string::npos ? out : out.substr(at);
}

TEST_F(UnattendedPublishTest, ChangedOnlyLeavesEqualFilesAloneAndRewritesAChangedOne) {
  const ProcessResult full = Publish();
  ASSERT_EQ(full.exitCode, 0) << full.err;
  const auto before = Files();
  ASSERT_GE(before.size(), 3u);
  const std::size_t trashed = TrashCount();

  // Nothing changed: no file is touched, and the report is a full publish's.
  const ProcessResult same = Publish({"--changed-only"});
  ASSERT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(Files(), before);
  EXPECT_EQ(TrashCount(), trashed);
  EXPECT_EQ(Report(same.out), Report(full.out));

  // One playlist loses a song: only its file is written again.
  GeneratedPlaylist& changed = Published();
  changed.Items.pop_back();
  Rewrite();
  const ProcessResult one = Publish({"--changed-only"});
  ASSERT_EQ(one.exitCode, 0) << one.err;
  std::set<std::string> rewritten;
  for (const auto& [name, time] : Files()) {
    if (before.at(name) != time) rewritten.insert(name);
  }
  EXPECT_EQ(rewritten, std::set{fs::path(FileOf(changed.Name)).filename().string()});
  EXPECT_EQ(TrashCount(), trashed + 1);
}

TEST_F(UnattendedPublishTest, PruneRemovesOnlyStaleFilesItWroteAsItLeftThem) {
  ASSERT_EQ(Publish().exitCode, 0);
  // Published(0) comes before Published(1), so erasing the second keeps the first.
  GeneratedPlaylist& renamed = Published(0);
  GeneratedPlaylist& edited = Published(1);
  const std::string renamedFile = FileOf(renamed.Name);
  const std::string editedFile = FileOf(edited.Name);
  const std::string ownFile = library_.PlaylistFolder + "/mine.m3u";
  std::ofstream(ownFile) << "#EXTM3U\r\n";
  // The user edits the file of a playlist that is then deleted.
  std::ofstream(editedFile, std::ios::app) << "extra.mp3\r\n";
  const auto deleted = std::find_if(library_.Playlists.begin(), library_.Playlists.end(),
                                    [&](const auto& p) { return &p == &edited; });
  renamed.Name += " (renamed)";
  library_.Playlists.erase(deleted);
  Rewrite();

  const ProcessResult listed = Run({"--library", libraryPath_, "list", "--stale"});
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_EQ(Lines(listed.out), (std::vector<std::string>{
                                   renamedFile, editedFile + "\t(changed since written; left alone)"}))
      << listed.out;

  const ProcessResult pruned = Publish({"--changed-only", "--prune"});
  ASSERT_EQ(pruned.exitCode, 0) << pruned.err;
  EXPECT_FALSE(fs::exists(renamedFile));
  EXPECT_TRUE(Contains(pruned.out, "Moved the stale playlist file \"" + renamedFile + "\""));
  EXPECT_TRUE(fs::exists(editedFile));
  EXPECT_TRUE(Contains(pruned.err, editedFile + "\" was changed since it was written"))
      << pruned.err;
  EXPECT_TRUE(fs::exists(ownFile));
  EXPECT_TRUE(fs::exists(FileOf(renamed.Name)));

  // Nothing stale is left to list.
  EXPECT_EQ(Run({"--library", libraryPath_, "list", "--stale"}).out, "");
}

TEST_F(UnattendedPublishTest, TwoPlaylistsWithOneFileNameAreNamedOnceEach) {
  GeneratedPlaylist& first = Published(0, false);
  GeneratedPlaylist& second = Published(1, false);
  first.Name = "Road: Trip";
  second.Name = "Road/ Trip";
  Rewrite();
  const ProcessResult result = Publish();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string line = "The playlists \"Road: Trip\" and \"Road/ Trip\" both write the file "
                           "\"Road_ Trip.m3u\"; it holds the last one written.";
  EXPECT_EQ(Lines(result.err), std::vector<std::string>{"quorvella-cli: " + line}) << result.err;
  // In the report, right after the statistics.
  const auto stats = result.out.find("Total songs written:");
  const auto at = result.out.find("\n" + line + "\n");
  ASSERT_NE(at, std::string::npos) << result.out;
  EXPECT_GT(at, stats);
  EXPECT_GT(result.out.find("\n\n", stats), at) << result.out;

  // Only the last one's file stays, so only it is compared: nothing is written again.
  const auto files = Files();
  const ProcessResult again = Publish({"--changed-only"});
  EXPECT_EQ(Lines(again.err), std::vector<std::string>{"quorvella-cli: " + line}) << again.err;
  EXPECT_EQ(Files(), files);
}

TEST_F(UnattendedPublishTest, AFullDiskLeavesEachPlaylistFileWholeOldOrNew) {
#ifdef _WIN32
  GTEST_SKIP() << "a small file system is mounted as on POSIX only";
#else
  const fs::path small = root_ / "small";
  fs::create_directories(small);
  if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "a small tmpfs cannot be mounted here: " << std::strerror(errno);
  }
  const std::unique_ptr<const char, void (*)(const char*)> unmount(
      small.c_str(), [](const char* path) { umount2(path, MNT_DETACH); });
  ASSERT_EQ(Run({"options", "--playlist-folder", small.string()}).exitCode, 0);
  ASSERT_EQ(Publish().exitCode, 0);
  std::map<std::string, std::string> old;
  for (const auto& entry : fs::directory_iterator(small)) {
    old[entry.path().filename().string()] = ReadBytes(entry.path());
  }
  ASSERT_GE(old.size(), 3u);
  {  // A file of the user's takes the room that is left.
    std::ofstream filler(small / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  }
  // Every playlist's songs twice over: each file would grow.
  for (auto& playlist : library_.Playlists) {
    const auto items = playlist.Items;
    playlist.Items.insert(playlist.Items.end(), items.begin(), items.end());
  }
  Rewrite();
  EXPECT_NE(Publish({"--changed-only"}).exitCode, 0);
  const std::string header = "#EXTM3U\r\n";
  for (const auto& entry : fs::directory_iterator(small)) {
    const std::string name = entry.path().filename().string();
    if (name == "filler" || fs::is_directory(entry.path())) continue;
    const std::string bytes = ReadBytes(entry.path());
    ASSERT_TRUE(old.contains(name)) << name;
    const std::string& before = old[name];
    EXPECT_TRUE(bytes == before || bytes == before + before.substr(header.size())) << name;
  }
#endif
}

}  // namespace
}  // namespace quorvella::test
