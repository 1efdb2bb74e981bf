// SPDX-License-Identifier: MIT
#include "engine/PlaylistFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <vector>

#include "library/ITunes.h"
#include "settings/MemoryRegistry.h"
#include "platform/PathRules.h"
#include "settings/Settings.h"
#include "support/FakeFileSystem.h"
#include "support/FakeLibrary.h"

namespace quorvella {
namespace {

using test::FakeFileSystem;
using ::testing::ElementsAre;

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
  files.files["/srv/lists/AC_DC_ Live_.m3u"] = {};
  files.files["/srv/lists/Café.m3u"] = {};
  EXPECT_TRUE(Exists("/srv/lists", "AC/DC: Live?"));
  EXPECT_TRUE(Exists(" /srv/lists/ ", "Café"));
  EXPECT_FALSE(Exists("/srv/lists", "Other"));
  EXPECT_THAT(files.asked, ElementsAre("/srv/lists/Other.m3u"));
  // Without a folder the bare name is asked about, and names no file.
  files.files["Café.m3u"] = {};
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
  EXPECT_EQ(RecycleFile(files, "/srv/lists/a.m3u", false), 1);
  EXPECT_TRUE(files.trash.empty());

  files.failExists = true;
  EXPECT_EQ(RecycleFile(files, "/srv/lists/a.m3u", false), 1);
  EXPECT_TRUE(files.trash.empty());
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
