// SPDX-License-Identifier: MIT
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <array>

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
    return inner.QueryValue(hive, path, name);
  }
  bool SetValue(Hive hive, std::string_view path, std::string_view name,
                const RegValue& value) override {
    ++writes;
    return inner.SetValue(hive, path, name, value);
  }
  MemoryRegistry inner;
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

TEST_F(SettingsTest, LoadsStoredValuesOrTheirDefaults) {
  // The folder, delete-empty and mode texts stored (empty: none), and what
  // loads as "folder|delete empty|enhanced".
  const std::array<std::string, 4> cases[] = {
      {"", "", "", "|1|0"},                                  // the first run
      {"  D:\\Lists ", " false ", "2", "  D:\\Lists |0|1"},  // the folder untrimmed
      {std::string(1024, 'x'), "yes", "maybe", "|1|0"},      // overlong, unreadable
  };
  for (const auto& [folder, deleteEmpty, enhanced, loaded] : cases) {
    Store("PlaylistFolder", folder);
    Store("DeleteEmptyOutput", deleteEmpty);
    Store("EnhancedPlugInMode", enhanced);
    settings.LoadSettings();
    EXPECT_EQ(settings.GetPlaylistFolder() + "|" + std::to_string(settings.GetDeleteEmptyOutput()) +
                  "|" + std::to_string(settings.GetEnhancedPlugInMode()),
              loaded);
    EXPECT_EQ(store.writes, 0) << "loading never writes";
  }
  ASSERT_EQ(settings.FileTypes().size(), 4u);
  for (const auto& entry : settings.FileTypes()) EXPECT_TRUE(entry.Checked) << entry.Ext;
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

  // A failed write changes only the cache.
  store.inner.SetReadOnly(true);
  settings.SetPlaylistFolder("D:\\New");
  EXPECT_EQ(settings.GetPlaylistFolder(), "D:\\New");
  Settings next(reg);
  next.LoadSettings();
  EXPECT_EQ(next.GetPlaylistFolder(), "d:\\lists");
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

}  // namespace
}  // namespace quorvella
