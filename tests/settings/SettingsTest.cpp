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
  const struct {
    const char* what;
    std::string folder, deleteEmpty, enhanced;  // as stored; empty: none
    std::string loadedFolder;
    bool loadedDeleteEmpty, loadedEnhanced;
  } cases[] = {
      {"first run", "", "", "", "", true, false},
      {"stored, the folder untrimmed", "  D:\\Lists ", " false ", "2", "  D:\\Lists ", false, true},
      {"unreadable flags, an overlong folder", std::string(1024, 'x'), "yes", "maybe", "", true,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Store("PlaylistFolder", c.folder);
    Store("DeleteEmptyOutput", c.deleteEmpty);
    Store("EnhancedPlugInMode", c.enhanced);
    settings.LoadSettings();
    EXPECT_EQ(settings.GetPlaylistFolder(), c.loadedFolder);
    EXPECT_EQ(settings.GetDeleteEmptyOutput(), c.loadedDeleteEmpty);
    EXPECT_EQ(settings.GetEnhancedPlugInMode(), c.loadedEnhanced);
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
