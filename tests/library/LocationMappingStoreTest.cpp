// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>

#include "library/LocationMappingStore.h"
#include "platform/TextEncoding.h"
#include "settings/FileRegistry.h"
#include "settings/MemoryRegistry.h"
#include "settings/RegFile.h"
#include "settings/RegistryKeys.h"

namespace quorvella {
namespace {

// An export as a person reads it.
std::string Text(const std::string& exported) {
  std::string_view bytes = exported;
  if (bytes.starts_with("\xFF\xFE")) bytes.remove_prefix(2);
  return Utf16LeToUtf8(bytes);
}

TEST(LocationMappingStore, RulesTravelAsReadableValuesThroughExportAndImport) {
  char pattern[] = "/tmp/quorvella-mappings-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::filesystem::path dir = pattern;
  FileRegistry registry((dir / "registry.reg").string());
  RegUtil reg(registry);
  reg.RegSetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder", "/srv/lists");

  const LocationMappings rules({{R"(C:\Users\Adam\Music\iTunes\iTunes Media)", "/srv/music"},
                                {R"(\\nas\music)", "/mnt/nas|share"},
                                {"/Volumes/data", "/mnt/data"}});
  ASSERT_TRUE(SaveLocationMappings(reg, rules));
  const std::string exported = Text(*registry.Export(Hive::CurrentUser, MappingsKey));
  EXPECT_NE(exported.find(R"("1"="C:\\Users\\Adam\\Music\\iTunes\\iTunes Media|/srv/music")"),
            std::string::npos)
      << exported;
  EXPECT_NE(exported.find(R"("2"="\\\\nas\\music|/mnt/nas|share")"), std::string::npos);

  // Another computer imports the whole store and reads the same rules; the
  // options stay where they were.
  FileRegistry other((dir / "other.reg").string());
  const RegParseResult parsed = ParseRegFile(registry.Export());
  ASSERT_FALSE(parsed.error);
  ASSERT_TRUE(other.Import(parsed.document));
  RegUtil otherReg(other);
  EXPECT_EQ(LoadLocationMappings(otherReg).Rules(), rules.Rules());
  EXPECT_EQ(otherReg.RegGetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder"), "/srv/lists");

  // A shorter list leaves no value of the longer one behind.
  ASSERT_TRUE(SaveLocationMappings(
      reg, LocationMappings(std::vector<LocationMapping>{{"/Volumes/data", "/mnt/data"}})));
  const std::string shorter = Text(*registry.Export(Hive::CurrentUser, MappingsKey));
  EXPECT_EQ(shorter.find("\"2\"="), std::string::npos) << shorter;
  EXPECT_EQ(LoadLocationMappings(reg).Rules().size(), 1u);
  std::filesystem::remove_all(dir);
}

TEST(LocationMappingStore, ReadsUpToTheFirstGapAndSkipsWhatIsNoRule) {
  MemoryRegistry registry;
  RegUtil reg(registry);
  const auto set = [&](const char* name, const char* text) {
    reg.RegSetString(Hive::CurrentUser, MappingsKey, name, text);
  };
  set("1", "/a|/x");
  set("2", "no bar at all");
  set("3", "|/empty-from");
  set("4", "/b|");
  set("5", "/c|/y");
  set("7", "/after-a-gap|/z");
  const std::vector<LocationMapping> expected = {{"/a", "/x"}, {"/c", "/y"}};
  EXPECT_EQ(LoadLocationMappings(reg).Rules(), expected);
}

TEST(LocationMappingStore, AStoreThatRefusesWritesIsReported) {
  MemoryRegistry registry;
  RegUtil reg(registry);
  registry.SetReadOnly(true);
  EXPECT_FALSE(
      SaveLocationMappings(reg, LocationMappings(std::vector<LocationMapping>{{"/a", "/x"}})));
  // A rule too long for a registry value does not read back.
  registry.SetReadOnly(false);
  EXPECT_FALSE(SaveLocationMappings(
      reg, LocationMappings(std::vector<LocationMapping>{{"/a", "/" + std::string(1100, 'x')}})));
}

}  // namespace
}  // namespace quorvella
