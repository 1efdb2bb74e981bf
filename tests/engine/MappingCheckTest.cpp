// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>

#include "engine/MappingCheck.h"

namespace quorvella {
namespace {

TEST(MappingCheck, CountsEachRuleAndGroupsWhatIsNeitherMappedNorFound) {
  const std::set<std::string> files = {"/srv/music/Music/A/1.mp3", "/srv/music/Music/A/2.mp3",
                                       "/home/me/Music/local.mp3",
                                       R"(C:\Users\Adam\Desktop\9.mp3)"};
  const PathTest exists = [&](const std::string& path) { return files.count(path) != 0; };
  const LocationMappings mappings(std::vector<LocationMapping>{
      {R"(C:\Users\Adam\Music\iTunes\iTunes Media)", "/srv/music"}, {"/Volumes/data", "/mnt/d"}});
  const std::vector<std::string> locations = {
      R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music\A\1.mp3)",
      R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music\A\2.mp3)",
      R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music\B\3.mp3)",
      "/Volumes/data/x.m4a",
      "/home/me/Music/local.mp3",
      R"(E:\Music\Rock\Band\4.mp3)",
      R"(e:\music\Rock\Other\5.mp3)",
      R"(E:\MUSIC\Pop\6.mp3)",
      R"(\\nas\music\Pop\7.mp3)",
      R"(\\NAS\Music\8.mp3)",
      "/Users/nathan/Movies/a.m4v",
      "/Users/nathan/Music/b.m4a",
      // A Windows path is never looked for on this computer.
      R"(C:\Users\Adam\Desktop\9.mp3)",
      R"(C:\Users\Adam\Music\Other\10.mp3)",
  };
  const MappingCheck check = CheckMappings(locations, mappings, exists);
  std::vector<std::pair<std::int64_t, std::int64_t>> counts;  // mapped and found, by rule, then the rest
  for (const auto& rule : check.rules) counts.emplace_back(rule.mapped, rule.found);
  counts.emplace_back(check.unmapped, check.unmappedFound);
  EXPECT_EQ(counts, (std::vector<std::pair<std::int64_t, std::int64_t>>{{3, 2}, {1, 0}, {10, 1}}));

  std::vector<std::pair<std::string, std::int64_t>> groups;
  for (const MissingGroup& group : check.missing) groups.emplace_back(group.folder, group.tracks);
  const std::vector<std::pair<std::string, std::int64_t>> expected = {
      {R"(E:\Music)", 3},  // the first track's spelling, letter case aside
      {R"(\\nas\music)", 2},
      {R"(C:\Users\Adam)", 2},  // beside the mapped folder
      {"/Users/nathan", 2},
  };
  EXPECT_EQ(groups, expected);
}

TEST(MappingCheck, GroupsNameTheRootWhenTracksShareNoFolder) {
  const std::vector<MissingGroup> groups =
      GroupByFolder({R"(D:\a.mp3)", R"(D:\Rock\b.mp3)", "/c.mp3", "/x/d.mp3", "/y/e.mp3"});
  std::vector<std::string> folders;
  for (const MissingGroup& group : groups) folders.push_back(group.folder);
  EXPECT_EQ(folders, (std::vector<std::string>{R"(D:\)", "/", "/x", "/y"}));
}

}  // namespace
}  // namespace quorvella
