// SPDX-License-Identifier: MIT
#include "settings/RegTree.h"

#include <gtest/gtest.h>

#include "settings/RegSamples.h"

namespace quorvella {
namespace {

using Texts = std::vector<std::string>;

Texts Paths(const RegTree& tree) {
  Texts out;
  for (const auto* key : tree.Keys()) {
    out.push_back(std::string(HiveName(key->hive)) + "\\" + key->path);
  }
  return out;
}

TEST(RegTree, KeysSortByComponentsWithParentsFirstAndKeepTheirFirstSpelling) {
  RegTree tree;
  for (const char* path : {"Software\\b b", "Software\\B\\c", "SOFTWARE\\b\\d"}) {
    tree.SetValue(Hive::CurrentUser, path, "x", RegValue::Dword(1));
  }
  EXPECT_EQ(Paths(tree), (Texts{"HKEY_CURRENT_USER\\Software", "HKEY_CURRENT_USER\\Software\\B",
                                "HKEY_CURRENT_USER\\Software\\B\\c",
                                "HKEY_CURRENT_USER\\Software\\B\\d",
                                "HKEY_CURRENT_USER\\Software\\b b"}));
}

TEST(RegTree, DeletingAKeyRemovesItsSubkeysButNotItsSiblings) {
  RegTree tree;
  tree.CreateKey(Hive::CurrentUser, "A\\B\\C");
  tree.CreateKey(Hive::CurrentUser, "A\\BB");
  tree.CreateKey(Hive::LocalMachine, "A\\B");
  EXPECT_TRUE(tree.DeleteKey(Hive::CurrentUser, "a\\b"));
  EXPECT_FALSE(tree.DeleteKey(Hive::CurrentUser, "A\\B"));
  EXPECT_EQ(Paths(tree), (Texts{"HKEY_CURRENT_USER\\A", "HKEY_CURRENT_USER\\A\\BB",
                                "HKEY_LOCAL_MACHINE\\A", "HKEY_LOCAL_MACHINE\\A\\B"}));
}

TEST(RegTree, ValuesOfOneNameReplaceEachOtherInPlaceAlsoInAMerge) {
  RegTree mine = test::Tree({{"K", "Keep", RegValue::String("mine")},
                             {"K", "Both", RegValue::String("mine")},
                             {"K", "keep", RegValue::String("again")}});
  mine.Merge(test::Tree({{"k", "BOTH", RegValue::String("theirs")},
                         {"K\\Sub", "New", RegValue::Dword(7)}}));
  EXPECT_EQ(mine, test::Tree({{"K", "Keep", RegValue::String("again")},
                              {"K", "Both", RegValue::String("theirs")},
                              {"K\\Sub", "New", RegValue::Dword(7)}}));
}

}  // namespace
}  // namespace quorvella
