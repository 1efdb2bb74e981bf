// SPDX-License-Identifier: MIT
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "settings/RegistryKeys.h"

namespace quorvella {
namespace {

// Counts the writes that reach the store, to check the write-through rules.
class CountingRegistry final : public RegistryBackend {
 public:
  bool KeyExists(Hive hive, std::string_view path) override { return inner.KeyExists(hive, path); }
  std::optional<RegValue> QueryValue(Hive hive, std::string_view path,
                                     std::string_view name) override {
    ++reads;
    return inner.QueryValue(hive, path, name);
  }
  bool SetValue(Hive hive, std::string_view path, std::string_view name,
                const RegValue& value) override {
    ++writes;
    return inner.SetValue(hive, path, name, value);
  }
  MemoryRegistry inner;
  int reads = 0;
  int writes = 0;
};

class SettingsTest : public ::testing::Test {
 protected:
  void Store(std::string_view name, std::string_view text) {
    RegUtil(store).RegSetString(Hive::CurrentUser, SettingsKey, name, text);
    store.writes = 0;
  }
  std::string Stored(std::string_view name) {
    return RegUtil(store).RegGetString(Hive::CurrentUser, SettingsKey, name);
  }
  CountingRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
};

TEST_F(SettingsTest, FirstRunGivesTheDefaults) {
  settings.LoadSettings();
  EXPECT_EQ(settings.GetPlaylistFolder(), "");
  EXPECT_TRUE(settings.GetDeleteEmptyOutput());
  EXPECT_FALSE(settings.GetEnhancedPlugInMode());
  EXPECT_EQ(settings.GetUncheckedExts(), "");
  ASSERT_EQ(settings.FileTypes().size(), 4u);
  for (const auto& entry : settings.FileTypes()) EXPECT_TRUE(entry.Checked) << entry.Ext;
  EXPECT_EQ(store.writes, 0) << "loading never writes";
}

TEST_F(SettingsTest, LoadsStoredValuesWithoutTrimmingTheFolder) {
  Store("PlaylistFolder", "  D:\\Lists ");
  Store("DeleteEmptyOutput", " false ");
  Store("EnhancedPlugInMode", "2");
  Store("UncheckedExts", "+wma+");
  settings.LoadSettings();
  EXPECT_EQ(settings.GetPlaylistFolder(), "  D:\\Lists ");
  EXPECT_FALSE(settings.GetDeleteEmptyOutput());
  EXPECT_TRUE(settings.GetEnhancedPlugInMode());
  EXPECT_FALSE(settings.IsFileTypeChecked("wma"));
}

TEST_F(SettingsTest, UnreadableFlagsFallBackToTheirDefaults) {
  Store("DeleteEmptyOutput", "yes");
  Store("EnhancedPlugInMode", "maybe");
  settings.LoadSettings();
  EXPECT_TRUE(settings.GetDeleteEmptyOutput());
  EXPECT_FALSE(settings.GetEnhancedPlugInMode());
}

TEST_F(SettingsTest, AnOverlongFolderReadsAsNoFolder) {
  Store("PlaylistFolder", std::string(1024, 'x'));
  settings.LoadSettings();
  EXPECT_EQ(settings.GetPlaylistFolder(), "");
}

TEST_F(SettingsTest, SettersWriteThroughOnlyWhenTheValueChanges) {
  settings.LoadSettings();
  settings.SetPlaylistFolder("");
  settings.SetDeleteEmptyOutput(true);
  settings.SetEnhancedPlugInMode(false);
  EXPECT_EQ(store.writes, 0);

  settings.SetPlaylistFolder("D:\\Lists");
  settings.SetPlaylistFolder("D:\\Lists");
  EXPECT_EQ(store.writes, 1);
  settings.SetPlaylistFolder("d:\\lists");
  EXPECT_EQ(store.writes, 2) << "letter case counts";
  EXPECT_EQ(Stored("PlaylistFolder"), "d:\\lists");

  settings.SetDeleteEmptyOutput(false);
  settings.SetEnhancedPlugInMode(true);
  EXPECT_EQ(Stored("DeleteEmptyOutput"), "False");
  EXPECT_EQ(Stored("EnhancedPlugInMode"), "True");
  EXPECT_TRUE(reg.RegKeyExists(Hive::CurrentUser, "Software\\Brenlow Software"));
}

TEST_F(SettingsTest, UncheckedExtsIsReadOnceAndAlwaysWritten) {
  Store("UncheckedExts", "+ogg+");
  EXPECT_EQ(settings.GetUncheckedExts(), "+ogg+");
  Store("UncheckedExts", "+wma+");
  EXPECT_EQ(settings.GetUncheckedExts(), "+ogg+") << "the cache stands";
  settings.SetUncheckedExts("+ogg+");
  settings.SetUncheckedExts("+ogg+");
  EXPECT_EQ(store.writes, 2);
  EXPECT_EQ(Stored("UncheckedExts"), "+ogg+");
}

TEST_F(SettingsTest, AFailedWriteChangesOnlyTheCache) {
  settings.LoadSettings();
  store.inner.SetReadOnly(true);
  settings.SetPlaylistFolder("D:\\New");
  EXPECT_EQ(settings.GetPlaylistFolder(), "D:\\New");
  Settings next(reg);
  next.LoadSettings();
  EXPECT_EQ(next.GetPlaylistFolder(), "");
}

}  // namespace
}  // namespace quorvella
