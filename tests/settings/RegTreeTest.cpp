// SPDX-License-Identifier: MIT
#include "settings/RegTree.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

std::vector<std::string> Paths(const RegTree& tree) {
  std::vector<std::string> out;
  for (const auto* key : tree.Keys()) out.push_back(std::string(HiveName(key->hive)) + "\\" + key->path);
  return out;
}

TEST(RegTree, KeysSortByComponentsWithParentsFirstAndKeepTheirFirstSpelling) {
  RegTree tree;
  tree.SetValue(Hive::CurrentUser, "Software\\b b", "x", RegValue::Dword(1));
  tree.SetValue(Hive::CurrentUser, "Software\\B\\c", "x", RegValue::Dword(1));
  tree.SetValue(Hive::CurrentUser, "SOFTWARE\\b\\d", "x", RegValue::Dword(1));
  EXPECT_EQ(Paths(tree), (std::vector<std::string>{
                             "HKEY_CURRENT_USER\\Software",
                             "HKEY_CURRENT_USER\\Software\\B",
                             "HKEY_CURRENT_USER\\Software\\B\\c",
                             "HKEY_CURRENT_USER\\Software\\B\\d",
                             "HKEY_CURRENT_USER\\Software\\b b",
                         }));
}

TEST(RegTree, SettingAValueAgainReplacesItInPlace) {
  RegTree tree;
  tree.SetValue(Hive::CurrentUser, "K", "A", RegValue::String("1"));
  tree.SetValue(Hive::CurrentUser, "K", "B", RegValue::String("2"));
  tree.SetValue(Hive::CurrentUser, "K", "a", RegValue::String("3"));
  const auto* key = tree.Keys().front();
  ASSERT_EQ(key->values.size(), 2u);
  EXPECT_EQ(key->values[0].first, "A");
  EXPECT_EQ(key->values[0].second, RegValue::String("3"));
}

TEST(RegTree, DeletingAKeyRemovesItsSubkeysButNotItsSiblings) {
  RegTree tree;
  tree.CreateKey(Hive::CurrentUser, "A\\B\\C");
  tree.CreateKey(Hive::CurrentUser, "A\\BB");
  tree.CreateKey(Hive::LocalMachine, "A\\B");
  EXPECT_TRUE(tree.DeleteKey(Hive::CurrentUser, "a\\b"));
  EXPECT_FALSE(tree.KeyExists(Hive::CurrentUser, "A\\B\\C"));
  EXPECT_TRUE(tree.KeyExists(Hive::CurrentUser, "A\\BB"));
  EXPECT_TRUE(tree.KeyExists(Hive::LocalMachine, "A\\B"));
  EXPECT_FALSE(tree.DeleteKey(Hive::CurrentUser, "A\\B"));
}

TEST(RegTree, MergeKeepsUntouchedValuesAndReplacesEqualNames) {
  RegTree mine;
  mine.SetValue(Hive::CurrentUser, "K", "Keep", RegValue::String("mine"));
  mine.SetValue(Hive::CurrentUser, "K", "Both", RegValue::String("mine"));
  RegTree theirs;
  theirs.SetValue(Hive::CurrentUser, "k", "BOTH", RegValue::String("theirs"));
  theirs.SetValue(Hive::CurrentUser, "K\\Sub", "New", RegValue::Dword(7));
  mine.Merge(theirs);
  EXPECT_EQ(*mine.FindValue(Hive::CurrentUser, "K", "Keep"), RegValue::String("mine"));
  EXPECT_EQ(*mine.FindValue(Hive::CurrentUser, "K", "Both"), RegValue::String("theirs"));
  EXPECT_EQ(*mine.FindValue(Hive::CurrentUser, "K\\Sub", "New"), RegValue::Dword(7));
}

}  // namespace
}  // namespace quorvella
