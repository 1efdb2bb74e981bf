// SPDX-License-Identifier: MIT
#include "settings/FileTypeCatalogue.h"

#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"

namespace quorvella {
namespace {

using Texts = std::vector<std::string>;

class FileTypeCatalogueTest : public ::testing::Test {
 protected:
  // Stores the plug-in's extra extensions and the unchecked list, then loads.
  void Load(std::string_view custom, std::string_view unchecked = "") {
    reg.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, custom);
    reg.RegSetString(Hive::CurrentUser, SettingsKey, "UncheckedExts", unchecked);
    settings.LoadSettings();
  }
  Texts Exts() {
    Texts out;
    for (const auto& entry : settings.FileTypes()) out.push_back(entry.Ext);
    return out;
  }
  std::string StoredUnchecked() {
    return reg.RegGetString(Hive::CurrentUser, SettingsKey, "UncheckedExts");
  }
  MemoryRegistry store;
  RegUtil reg{store};
  Settings settings{reg};
};

TEST_F(FileTypeCatalogueTest, PluginExtensionsFollowTheFixedFourUntrimmedAndUnrepeated) {
  const std::pair<const char*, Texts> cases[] = {
      {"", {"mp3", "aac", "wma", "ogg"}},
      {"flac,ape", {"mp3", "aac", "wma", "ogg", "flac", "ape"}},
      {"FLAC, APE", {"mp3", "aac", "wma", "ogg", "flac", " ape"}},
      {"mp3,OGG,wav,wav", {"mp3", "aac", "wma", "ogg", "wav"}},
      {"flac,,", {"mp3", "aac", "wma", "ogg", "flac", ""}},
  };
  for (const auto& [custom, exts] : cases) {
    Load(custom);
    EXPECT_EQ(Exts(), exts) << "custom \"" << custom << "\"";
  }
}

TEST_F(FileTypeCatalogueTest, UncheckedItemsAreFoundAsSubstringsAndSavedInCatalogueOrder) {
  Load("flac,ape", "+aac++FLAC+ x+wma+");
  std::string checked;
  for (const char* ext : {"mp3", "aac", "wma", "flac", "wav"}) {
    checked += settings.IsFileTypeChecked(ext) ? "1" : "0";
  }
  EXPECT_EQ(checked, "10010") << "upper-case items match nothing; wav has no entry";

  Load("");
  settings.SetFileTypeChecked("wma", false);
  settings.SetFileTypeChecked("aac", false);
  EXPECT_EQ(StoredUnchecked(), "+aac+ +wma+");
  for (const char* ext : {"mp3", "aac", "wma", "ogg"}) settings.SetFileTypeChecked(ext, true);
  EXPECT_EQ(StoredUnchecked(), "");
  settings.SetFileTypeChecked("wav", false);
  EXPECT_EQ(Exts().back(), "wav") << "an unknown type is appended";
  EXPECT_EQ(StoredUnchecked(), "+wav+");
}

TEST_F(FileTypeCatalogueTest, TrackFormatTestInBothModes) {
  // Standard mode publishes MP3 even where it is unchecked.
  Load("flac, APE", "+ogg++mp3+");
  const struct { const char* location; bool standard; bool enhanced; } cases[] = {
      {"C:\\Music\\Song.MP3", true, false}, {"/music/song.mp3", true, false},
      {"C:\\Music\\Song.m4a", false, true}, {"C:\\Music\\Song.M4B", false, true},
      {"C:\\Music\\Song.aac", false, true}, {"C:\\Music\\Song.wma", false, true},
      {"C:\\Music\\Song.ogg", false, false}, {"C:\\Music\\Song.flac", false, true},
      {"C:\\Music\\Song.ape", false, false}, {"C:\\Music\\Song.wav", false, false},
      {"", false, false},                    {"C:\\Music\\Song", false, false},
      {"C:\\My.Music\\Song", false, false},  {"C:\\Music\\Song.mp3.", false, false},
  };
  for (const auto& c : cases) {
    settings.SetEnhancedPlugInMode(false);
    EXPECT_EQ(settings.IsTrackFormatPublished(c.location), c.standard) << c.location;
    settings.SetEnhancedPlugInMode(true);
    EXPECT_EQ(settings.IsTrackFormatPublished(c.location), c.enhanced) << c.location;
  }
}

TEST(FileTypeDescription, KnownTypesAndTheUpperCaseRule) {
  Texts described;
  for (const char* ext : {"aac", "ape", "flac", "mp3", "ogg", "shn", "wma", "wav", "MP3", " ape"}) {
    described.push_back(FileTypeDescription(ext));
  }
  EXPECT_EQ(described, (Texts{"Protected (.M4A and .M4B) files", "Monkey's Audio files",
                              "FLAC (Free Lossless Audio Codec) files", "MP3 audio files",
                              "Ogg Vorbis files", "SHN (Shorten) files", "Windows Media files",
                              "WAV files", "MP3 files", " APE files"}));  // compared exactly
}

}  // namespace
}  // namespace quorvella
