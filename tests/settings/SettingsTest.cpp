// SPDX-License-Identifier: MIT
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <array>

#include "settings/MemoryRegistry.h"
#include "settings/RegistryKeys.h"

namespace quorvella {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  // Writes behind the settings' back, as another copy of the program would:
  // a later write of the settings shows as the value changing again.
  void Store(std::string_view name, std::string_view text) {
    reg.RegSetString(Hive::CurrentUser, SettingsKey, name, text);
  }
  std::string Stored(std::string_view name) {
    return reg.RegGetString(Hive::CurrentUser, SettingsKey, name);
  }
  MemoryRegistry store;
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
    const RegTree before = store.Tree();
    settings.LoadSettings();
    EXPECT_EQ(settings.GetPlaylistFolder() + "|" + std::to_string(settings.GetDeleteEmptyOutput()) +
                  "|" + std::to_string(settings.GetEnhancedPlugInMode()), loaded);
    EXPECT_EQ(store.Tree(), before) << "loading never writes";
  }
}

TEST_F(SettingsTest, SettersWriteThroughOnlyWhenTheValueChanges) {
  settings.LoadSettings();
  settings.SetPlaylistFolder("");
  settings.SetDeleteEmptyOutput(true);
  settings.SetEnhancedPlugInMode(false);
  EXPECT_EQ(store.Tree(), RegTree{});

  settings.SetPlaylistFolder("D:\\Lists");
  Store("PlaylistFolder", "elsewhere");
  settings.SetPlaylistFolder("D:\\Lists");
  EXPECT_EQ(Stored("PlaylistFolder"), "elsewhere") << "the same value is not written again";
  settings.SetPlaylistFolder("d:\\lists");
  EXPECT_EQ(Stored("PlaylistFolder"), "d:\\lists") << "letter case counts";

  settings.SetDeleteEmptyOutput(false);
  settings.SetEnhancedPlugInMode(true);
  EXPECT_EQ(Stored("DeleteEmptyOutput"), "False");
  EXPECT_EQ(Stored("EnhancedPlugInMode"), "True");
  EXPECT_TRUE(reg.RegKeyExists(Hive::CurrentUser, "Software\\Brenlow Software"));
  settings.SetPlaylistEncoding(PlaylistEncoding::Utf8);
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, PlaylistsKey, PlaylistEncodingValueName), "utf-8");

  // A failed write changes only the cache.
  store.SetReadOnly(true);
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
  EXPECT_EQ(Stored("UncheckedExts"), "+ogg+");
}

}  // namespace
}  // namespace quorvella
