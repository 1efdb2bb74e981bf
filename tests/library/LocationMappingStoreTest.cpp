// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "library/LocationMappingStore.h"
#include "library/xml/LibraryTestFiles.h"
#ifndef _WIN32
#include "settings/FileRegistry.h"
#endif
#include "settings/MemoryRegistry.h"

namespace quorvella {
namespace {

TEST(LocationMappingStore, RulesAreNumberedValuesReadUpToTheFirstGap) {
#ifdef _WIN32
  MemoryRegistry registry;
#else
  testing::TempDir dir;
  FileRegistry registry(dir.File("registry.reg"));  // the store a user meets here
#endif
  RegUtil reg(registry);
  const std::vector<LocationMapping> rules = {
      {R"(C:\Users\Adam\Music\iTunes\iTunes Media)", "/srv/music"},
      {R"(\\nas\music)", "/mnt/nas|share"},
      {"/Volumes/data", "/mnt/data"}};
  ASSERT_TRUE(SaveLocationMappings(reg, LocationMappings(rules)));
  // Readable values, so that a rule can be edited by hand.
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, "Software\\Brenlow Software\\Quorvella\\Mappings",
                             "1"),
            R"(C:\Users\Adam\Music\iTunes\iTunes Media|/srv/music)");
  EXPECT_EQ(LoadLocationMappings(reg).Rules(), rules);

  // A shorter list leaves no value of the longer one behind.
  ASSERT_TRUE(SaveLocationMappings(reg, LocationMappings(std::vector<LocationMapping>{rules[2]})));
  EXPECT_FALSE(registry.QueryValue(Hive::CurrentUser, MappingsKey, "2"));
  EXPECT_EQ(LoadLocationMappings(reg).Rules(), std::vector<LocationMapping>{rules[2]});

  // What is no rule is skipped.
  for (const auto& [name, text] : {std::pair{"1", "/a|/x"}, {"2", "no bar"}, {"3", "|/x"}, {"4", "/b|"},
                                   {"5", "/c|/y|z"}, {"7", "/after-a-gap|/z"}}) {
    reg.RegSetString(Hive::CurrentUser, MappingsKey, name, text);
  }
  EXPECT_EQ(LoadLocationMappings(reg).Rules(),
            (std::vector<LocationMapping>{{"/a", "/x"}, {"/c", "/y|z"}}));
}

TEST(LocationMappingStore, AWriteThatDoesNotReadBackIsReported) {
  MemoryRegistry registry;
  RegUtil reg(registry);
  ASSERT_TRUE(SaveLocationMappings(reg, LocationMappings({{"/a", "/x"}, {"/b", "/y"}})));
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
