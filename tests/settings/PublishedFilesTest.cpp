// SPDX-License-Identifier: MIT
#include "settings/PublishedFiles.h"

#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"

namespace quorvella {
namespace {

TEST(PublishedFiles, RecordsReadBackPerFolderAndDamagedEntriesAreSkipped) {
  MemoryRegistry store;
  const std::vector<PublishedFile> files = {{"Mix.m3u", 7, 120, -5}, {"A\tB.m3u8", 8, 0, 1}};
  ASSERT_TRUE(SavePublishedFiles(store, "/srv/lists", files));
  EXPECT_EQ(LoadPublishedFiles(store, "/srv/lists"), files);
  EXPECT_TRUE(LoadPublishedFiles(store, "/srv/other").empty());

  std::string data;
  for (const char* entry : {"1\t2\t3\tgood", "x\t2\t3\tname", "1\tx\t3\tname", "1\t2\tx\tname",
                            "1\t2\t3\t", "1\t2\t3", "1 \t2\t3\tname", ""}) {
    data += std::string(entry) + '\0';
  }
  store.SetValue(Hive::CurrentUser, PublishedFilesKey, "/d",
                 RegValue::String(data, regtype::kMultiSz));
  EXPECT_EQ(LoadPublishedFiles(store, "/d"), (std::vector<PublishedFile>{{"good", 1, 2, 3}}));
  store.SetValue(Hive::CurrentUser, PublishedFilesKey, "/s", RegValue::String("1\t2\t3\tname"));
  EXPECT_TRUE(LoadPublishedFiles(store, "/s").empty()) << "not a multi-string";
}

}  // namespace
}  // namespace quorvella
