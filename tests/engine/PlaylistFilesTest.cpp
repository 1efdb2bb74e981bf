// SPDX-License-Identifier: MIT
#include "engine/PlaylistFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <set>
#include <stdexcept>
#include <vector>

#include "library/ITunes.h"
#include "settings/MemoryRegistry.h"
#include "platform/PathRules.h"
#include "settings/Settings.h"

namespace quorvella {
namespace {

using ::testing::ElementsAre;

// A file system that knows a fixed set of paths and records every question.
// Like the real one, it knows only paths of this system's own form.
class FakeFileSystem final : public FileSystem {
 public:
  bool PathExists(const std::string& path) const override {
    asked.push_back(path);
    if (throwOnExists) throw std::runtime_error("disk gone");
    return DialectOf(path) == PathDialect::Posix && existing.count(path) > 0;
  }
  TrashResult MoveToTrash(const std::string& path) override {
    trashed.push_back(path);
    return trashResult;
  }
  std::unique_ptr<TextFile> CreateTextFile(const std::string&, std::string&) override {
    return nullptr;
  }
  std::unique_ptr<TextFile> CreateUtf8TextFile(const std::string&, std::string&) override {
    return nullptr;
  }
  int AnsiCodePage() const override { return 1252; }
  bool RemoveFile(const std::string&) override { return false; }

  std::set<std::string> existing;
  mutable std::vector<std::string> asked;
  std::vector<std::string> trashed;
  TrashResult trashResult = TrashResult::Moved;
  bool throwOnExists = false;
};

class PlaylistFileExistsTest : public ::testing::Test {
 protected:
  bool Exists(std::string_view folder, std::string_view name) {
    settings.SetPlaylistFolder(folder);
    files.asked.clear();
    return PlaylistFileExists(settings, files, name);
  }

  MemoryRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
  FakeFileSystem files;
};

TEST_F(PlaylistFileExistsTest, AsksForTheSanitisedNameInTheFolder) {
  files.existing = {"/srv/lists/AC_DC_ Live_.m3u", "/srv/lists/Café.m3u"};
  EXPECT_TRUE(Exists("/srv/lists", "AC/DC: Live?"));
  EXPECT_TRUE(Exists(" /srv/lists/ ", "Café"));
  EXPECT_FALSE(Exists("/srv/lists", "Other"));
  EXPECT_THAT(files.asked, ElementsAre("/srv/lists/Other.m3u"));
  // Without a folder the bare name is asked about, and names no file.
  files.existing.insert("Café.m3u");
  EXPECT_FALSE(Exists("", "Café"));
  EXPECT_THAT(files.asked, ElementsAre("Café.m3u"));
}

TEST_F(PlaylistFileExistsTest, NamesTheFileTheWriterWrites) {
  // One path for the writer and the exists test: a root folder's separator
  // is not doubled, and spaces around the stored folder are not part of it.
  struct Case {
    std::string folder;
    std::string name;
    std::string path;
  };
  const Case cases[] = {
      {"D:\\Lists", "AC/DC: Live?", "D:\\Lists\\AC_DC_ Live_.m3u"},
      {"D:\\Lists", "", "D:\\Lists\\.m3u"},
      {"D:\\", "x", "D:\\x.m3u"},
      {"  D:\\Lists ", "x", "D:\\Lists\\x.m3u"},
      {"/srv/lists", "Café", "/srv/lists/Café.m3u"},
      {"/", "x", "/x.m3u"},
  };
  for (const auto& c : cases) {
    Exists(c.folder, c.name);
    EXPECT_THAT(files.asked, ElementsAre(c.path)) << c.folder;
    EXPECT_EQ(PlaylistFilePath(c.folder, SanitizeFileName(c.name, "_")), c.path);
  }
}

class FakeTrack final : public IITTrack {
 public:
  std::string Name() const override { return "Song"; }
  std::int32_t Duration() const override { return 1; }
  std::string GetProperty(std::string_view name) const override {
    askedFor = std::string(name);
    if (failure) failure();
    return location;
  }
  std::string location;
  std::function<void()> failure;
  mutable std::string askedFor;
};

TEST(GetTrackLocation, TrimsTheLocationAndSwallowsEveryFailure) {
  FakeTrack track;
  track.location = "  D:\\Music\\a b.mp3  ";
  EXPECT_EQ(GetTrackLocation(track), "D:\\Music\\a b.mp3");
  EXPECT_EQ(track.askedFor, "Location");

  track.failure = [] { throw LibraryError("no such property"); };
  EXPECT_EQ(GetTrackLocation(track), "");
  track.failure = [] { throw std::bad_alloc(); };
  EXPECT_EQ(GetTrackLocation(track), "");
  track.failure = [] { throw 42; };
  EXPECT_EQ(GetTrackLocation(track), "");
}

TEST(RecycleFile, ReportsWhatBecameOfTheFile) {
  FakeFileSystem files;
  EXPECT_EQ(RecycleFile(files, "/srv/lists/a.m3u", false), 1);
  EXPECT_TRUE(files.trashed.empty());

  files.throwOnExists = true;
  EXPECT_EQ(RecycleFile(files, "/srv/lists/a.m3u", false), 1);
  EXPECT_TRUE(files.trashed.empty());
  files.throwOnExists = false;

  files.existing = {"/srv/lists/a.m3u"};
  const std::pair<TrashResult, int> outcomes[] = {
      {TrashResult::Moved, 1}, {TrashResult::Aborted, 2}, {TrashResult::Failed, 3}};
  for (const auto& [result, code] : outcomes) {
    files.trashResult = result;
    EXPECT_EQ(RecycleFile(files, "/srv/lists/a.m3u", true), code);
  }
  EXPECT_EQ(files.trashed.size(), 3u);
}

}  // namespace
}  // namespace quorvella
