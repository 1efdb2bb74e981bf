// SPDX-License-Identifier: MIT
#include "engine/PlaylistFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "platform/PathRules.h"
#include "settings/MemoryRegistry.h"
#include "settings/Settings.h"
#include "support/FakeFileSystem.h"
#include "support/FakeLibrary.h"

namespace quorvella {
namespace {

using test::FakeFileSystem;
using ::testing::ElementsAre;

// One path for the writer and the exists test, in the folder's own dialect
// (the path rules hold how a folder and a name are made fit).
TEST(PlaylistFileExists, AsksForTheFileTheWriterWrites) {
  MemoryRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
  FakeFileSystem files;
  for (const char* path : {"/srv/lists/AC_DC_ Live_.m3u", "/srv/lists/Café.m3u", "Café.m3u"}) files.files[path] = {};
  // The folder, the playlist's name, its file, whether that exists.
  const std::tuple<const char*, const char*, std::string, bool> cases[] = {
      {"/srv/lists", "AC/DC: Live?", "/srv/lists/AC_DC_ Live_.m3u", true},
      {" /srv/lists/ ", "Café", "/srv/lists/Café.m3u", true},
      {"/srv/lists", "Other", "/srv/lists/Other.m3u", false},
      {"", "Café", "Café.m3u", false},  // a bare name names no file
      {"D:\\Lists", "AC/DC: Live?", "D:\\Lists\\AC_DC_ Live_.m3u", false},
  };
  for (const auto& [folder, name, path, exists] : cases) {
    SCOPED_TRACE(std::string(folder) + " " + name);
    settings.SetPlaylistFolder(folder);
    files.asked.clear();
    EXPECT_EQ(PlaylistFileExists(settings, files, name), exists);
    EXPECT_THAT(files.asked, ElementsAre(path));
    EXPECT_EQ(PlaylistFilePath(folder, SanitizeFileName(name, "_")), path);
  }
}

TEST(GetTrackLocation, TrimsTheLocationAndSwallowsEveryFailure) {
  const auto track = test::Track("Song", "  D:\\Music\\a b.mp3  ");
  EXPECT_EQ(GetTrackLocation(*track), "D:\\Music\\a b.mp3");
  EXPECT_EQ(GetTrackLocation(*test::Track("Song", std::nullopt)), "") << "no such property";
  const std::function<void()> failures[] = {[] { throw std::bad_alloc(); }, [] { throw 42; }};
  for (const auto& failure : failures) {
    track->whenRead = failure;
    EXPECT_EQ(GetTrackLocation(*track), "");
  }
}

TEST(RecycleFile, ReportsWhatBecameOfTheFile) {
  FakeFileSystem files;
  for (const bool failExists : {false, true}) {  // no file, or no telling
    files.failExists = failExists;
    EXPECT_EQ(RecycleFile(files, "/srv/lists/a.m3u", false), 1);
    EXPECT_TRUE(files.trash.empty());
  }
  files.failExists = false;
  files.files["/srv/lists/a.m3u"] = {};
  const std::pair<TrashResult, int> outcomes[] = {
      {TrashResult::Moved, 1}, {TrashResult::Aborted, 2}, {TrashResult::Failed, 3}};
  for (const auto& [result, code] : outcomes) {
    files.trashAnswer = result;
    EXPECT_EQ(RecycleFile(files, "/srv/lists/a.m3u", true), code);
    EXPECT_EQ(files.asked.back(), "/srv/lists/a.m3u");
  }
}

}  // namespace
}  // namespace quorvella
