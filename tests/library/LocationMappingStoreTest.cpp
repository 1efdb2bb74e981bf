// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "library/LocationMappingStore.h"
#include "library/xml/LibraryTestFiles.h"
#include "platform/TextEncoding.h"
#ifndef _WIN32  // the .reg file store is the POSIX one
#include "settings/FileRegistry.h"
#endif
#include "settings/MemoryRegistry.h"
#include "settings/RegFile.h"

namespace quorvella {
namespace {

#ifndef _WIN32
TEST(LocationMappingStore, RulesTravelAsReadableValuesThroughExportAndImport) {
  testing::TempDir dir;
  FileRegistry registry(dir.File("registry.reg"));
  RegUtil reg(registry);
  const std::vector<LocationMapping> rules = {
      {R"(C:\Users\Adam\Music\iTunes\iTunes Media)", "/srv/music"},
      {R"(\\nas\music)", "/mnt/nas|share"},
      {"/Volumes/data", "/mnt/data"}};
  ASSERT_TRUE(SaveLocationMappings(reg, LocationMappings(rules)));
  const std::string exported = Utf16LeToUtf8(registry.Export().substr(2));  // after the BOM
  EXPECT_NE(exported.find("[HKEY_CURRENT_USER\\Software\\Brenlow Software\\Quorvella\\Mappings]\r\n"
                          R"("1"="C:\\Users\\Adam\\Music\\iTunes\\iTunes Media|/srv/music")"),
            std::string::npos)
      << exported;

  // Another computer imports the store and reads the same rules.
  FileRegistry other(dir.File("other.reg"));
  ASSERT_TRUE(other.Import(ParseRegFile(registry.Export()).document));
  EXPECT_EQ(LoadLocationMappings(RegUtil(other)).Rules(), rules);

  // A shorter list leaves no value of the longer one behind.
  ASSERT_TRUE(SaveLocationMappings(reg, LocationMappings(std::vector<LocationMapping>{rules[2]})));
  EXPECT_FALSE(registry.QueryValue(Hive::CurrentUser, MappingsKey, "2"));
  EXPECT_EQ(LoadLocationMappings(reg).Rules(), std::vector<LocationMapping>{rules[2]});
}
#endif

TEST(LocationMappingStore, ReadsUpToTheFirstGapSkippingWhatIsNoRuleAndReportsRefusedWrites) {
  MemoryRegistry registry;
  RegUtil reg(registry);
  for (const auto& [name, text] : {std::pair{"1", "/a|/x"},
                                   {"2", "no bar"},
                                   {"3", "|/x"},
                                   {"4", "/b|"},
                                   {"5", "/c|/y|z"},
                                   {"7", "/after-a-gap|/z"}}) {
    reg.RegSetString(Hive::CurrentUser, MappingsKey, name, text);
  }
  EXPECT_EQ(LoadLocationMappings(reg).Rules(),
            (std::vector<LocationMapping>{{"/a", "/x"}, {"/c", "/y|z"}}));

  // A rule too long for a registry value does not read back.
  EXPECT_FALSE(SaveLocationMappings(
      reg, LocationMappings(std::vector<LocationMapping>{{"/a", "/" + std::string(1100, 'x')}})));
  registry.SetReadOnly(true);
  EXPECT_FALSE(SaveLocationMappings(reg, LocationMappings()));
  EXPECT_FALSE(
      SaveLocationMappings(reg, LocationMappings(std::vector<LocationMapping>{{"/a", "/b"}})));
}

}  // namespace
}  // namespace quorvella
