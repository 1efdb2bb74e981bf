// SPDX-License-Identifier: MIT
#include "engine/StalePlaylists.h"

#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

// A stale file leaves the record when it went to the trash, was gone or was
// changed by someone else; one the trash refused stays, to be tried again.
TEST(RemoveStalePlaylist, KeepsInTheRecordOnlyWhatTheTrashRefused) {
  testing::TempDir dir;
  const std::string path = (dir.Path() / "Old.m3u").string();
  const struct {
    const char* name;
    bool exists, changed;
    TrashResult answer;
    StaleRemoval removal;
  } cases[] = {
      {"moved", true, false, TrashResult::Moved, StaleRemoval::Moved},
      {"refused", true, false, TrashResult::Failed, StaleRemoval::NotMoved},
      {"gone", false, false, TrashResult::Failed, StaleRemoval::Gone},
      {"changed since", true, true, TrashResult::Failed, StaleRemoval::ChangedSince},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteBytes(path, "old");
    const PublishedFile file{"Old.m3u", 7, 3, StampOf(path)->mtimeNs};
    if (!c.exists) std::filesystem::remove(path);
    if (c.changed) testing::WriteBytes(path, "changed");
    std::vector<PublishedFile> record{file, {"Other.m3u", 8, 1, 1}};
    test::FakeFileSystem files;
    files.trashAnswer = c.answer;
    EXPECT_EQ(RemoveStalePlaylist(files, {file, path}, record), c.removal);
    EXPECT_EQ(record.size(), c.removal == StaleRemoval::NotMoved ? 2u : 1u);
  }
}

}  // namespace
}  // namespace quorvella
