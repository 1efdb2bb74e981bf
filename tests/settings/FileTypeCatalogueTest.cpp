// SPDX-License-Identifier: MIT
#include "settings/FileTypeCatalogue.h"

#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"

namespace quorvella {
namespace {

class FileTypeCatalogueTest : public ::testing::Test {
 protected:
  void StoreOption(std::string_view name, std::string_view text) {
    reg.RegSetString(Hive::CurrentUser, SettingsKey, name, text);
  }
  void StoreCustom(std::string_view text) {
    reg.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, text);
  }
  std::vector<std::string> Exts() {
    std::vector<std::string> out;
    for (const auto& entry : settings.FileTypes()) out.push_back(entry.Ext);
    return out;
  }
  Settings& Loaded() {
    settings.LoadSettings();
    return settings;
  }
  MemoryRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
};

using ExtList = std::vector<std::string>;

TEST_F(FileTypeCatalogueTest, PluginExtensionsFollowTheFixedFourUntrimmedAndUnrepeated) {
  struct Case {
    const char* custom;
    ExtList expected;
  };
  const Case cases[] = {
      {"", {"mp3", "aac", "wma", "ogg"}},
      {"flac,ape", {"mp3", "aac", "wma", "ogg", "flac", "ape"}},
      {"FLAC, APE", {"mp3", "aac", "wma", "ogg", "flac", " ape"}},
      {"mp3,OGG,wav,wav", {"mp3", "aac", "wma", "ogg", "wav"}},
      {"flac,,", {"mp3", "aac", "wma", "ogg", "flac", ""}},
  };
  for (const auto& c : cases) {
    StoreCustom(c.custom);
    settings.LoadSettings();
    EXPECT_EQ(Exts(), c.expected) << "custom \"" << c.custom << "\"";
  }
}

TEST_F(FileTypeCatalogueTest, UncheckedItemsAreFoundAsSubstrings) {
  StoreCustom("flac,ape");
  StoreOption("UncheckedExts", "+aac++FLAC+ x+wma+");
  Loaded();
  EXPECT_TRUE(settings.IsFileTypeChecked("mp3"));
  EXPECT_FALSE(settings.IsFileTypeChecked("aac"));
  EXPECT_FALSE(settings.IsFileTypeChecked("wma"));
  EXPECT_TRUE(settings.IsFileTypeChecked("flac")) << "upper-case items match nothing";
  EXPECT_FALSE(settings.IsFileTypeChecked("wav")) << "no entry";
}

TEST_F(FileTypeCatalogueTest, SavingStoresUncheckedTypesInCatalogueOrder) {
  Loaded();
  settings.SetFileTypeChecked("wma", false);
  settings.SetFileTypeChecked("aac", false);
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, SettingsKey, "UncheckedExts"), "+aac+ +wma+");
  for (const char* ext : {"mp3", "aac", "wma", "ogg"}) settings.SetFileTypeChecked(ext, true);
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, SettingsKey, "UncheckedExts"), "");
  settings.SetFileTypeChecked("wav", false);
  EXPECT_EQ(Exts().back(), "wav") << "an unknown type is appended";
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, SettingsKey, "UncheckedExts"), "+wav+");
}

TEST_F(FileTypeCatalogueTest, TrackFormatTestInBothModes) {
  struct Case {
    const char* location;
    bool standard;
    bool enhanced;
  };
  StoreCustom("flac, APE");
  // Standard mode publishes MP3 even where it is unchecked.
  StoreOption("UncheckedExts", "+ogg++mp3+");
  const Case cases[] = {
      {"C:\\Music\\Song.MP3", true, false},
      {"/music/song.mp3", true, false},
      {"C:\\Music\\Song.m4a", false, true},
      {"C:\\Music\\Song.M4B", false, true},
      {"C:\\Music\\Song.aac", false, true},
      {"C:\\Music\\Song.wma", false, true},
      {"C:\\Music\\Song.ogg", false, false},
      {"C:\\Music\\Song.flac", false, true},
      {"C:\\Music\\Song.ape", false, false},
      {"C:\\Music\\Song.wav", false, false},
      {"", false, false},
      {"C:\\Music\\Song", false, false},
      {"C:\\My.Music\\Song", false, false},
      {"C:\\Music\\Song.mp3.", false, false},
  };
  Loaded();
  for (const auto& c : cases) {
    settings.SetEnhancedPlugInMode(false);
    EXPECT_EQ(settings.IsTrackFormatPublished(c.location), c.standard) << c.location;
    settings.SetEnhancedPlugInMode(true);
    EXPECT_EQ(settings.IsTrackFormatPublished(c.location), c.enhanced) << c.location;
  }
}

TEST(FileTypeDescription, KnownTypesAndTheUpperCaseRule) {
  EXPECT_EQ(FileTypeDescription("aac"), "Protected (.M4A and .M4B) files");
  EXPECT_EQ(FileTypeDescription("ape"), "Monkey's Audio files");
  EXPECT_EQ(FileTypeDescription("flac"), "FLAC (Free Lossless Audio Codec) files");
  EXPECT_EQ(FileTypeDescription("mp3"), "MP3 audio files");
  EXPECT_EQ(FileTypeDescription("ogg"), "Ogg Vorbis files");
  EXPECT_EQ(FileTypeDescription("shn"), "SHN (Shorten) files");
  EXPECT_EQ(FileTypeDescription("wma"), "Windows Media files");
  EXPECT_EQ(FileTypeDescription("wav"), "WAV files");
  EXPECT_EQ(FileTypeDescription("MP3"), "MP3 files") << "compared exactly";
  EXPECT_EQ(FileTypeDescription(" ape"), " APE files");
}

}  // namespace
}  // namespace quorvella
