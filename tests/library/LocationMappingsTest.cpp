// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "library/LocationMappings.h"

namespace quorvella {
namespace {

TEST(LocationMappings, MapsByWholeComponentsWithTheCaseRuleOfFrom) {
  const std::vector<LocationMapping> win = {{R"(C:\Music)", "/srv/music"}};
  const std::vector<LocationMapping> umlaut = {{R"(D:\Müsik)", "/m"}};
  const std::vector<LocationMapping> nas = {{R"(\\nas\music)", "/mnt/nas"}};
  const std::vector<LocationMapping> vol = {{"/Volumes/data", "/mnt/data"}};
  const std::vector<LocationMapping> slashTo = {{R"(C:\Music)", "/srv/music/"}};
  const std::vector<LocationMapping> nested = {{R"(C:\Users\Adam\Music)", "/srv/music"},
                                               {R"(C:\Users)", "/home"}};
  const std::nullopt_t none = std::nullopt;
  // What the row shows, the rules, a location, what it maps to.
  const std::tuple<const char*, std::vector<LocationMapping>, const char*, std::optional<std::string>> cases[] = {
      {"Windows drive", win, R"(C:\Music\Rock\a.mp3)", "/srv/music/Rock/a.mp3"},
      {"letter case ignored", win, R"(c:\MUSIC\Rock\a.mp3)", "/srv/music/Rock/a.mp3"},
      {"non-ASCII letter case ignored", umlaut, R"(d:\MÜSIK\Ä.mp3)", "/m/Ä.mp3"},
      {"non-ASCII boundary", umlaut, R"(d:\MÜSIKA\Ä.mp3)", none},
      {"either separator in from", {{"C:/Music/", "/srv/music"}}, R"(C:\Music\a.mp3)",
       "/srv/music/a.mp3"},
      {"either separator in the location", win, "C:/Music/a.mp3", "/srv/music/a.mp3"},
      {"component boundary", win, R"(C:\Musical\a.mp3)", none},
      {"another drive", win, R"(D:\Music\a.mp3)", none},
      {"the folder itself", win, R"(C:\Music)", "/srv/music"},
      {"a drive root", {{"C:\\", "/mnt/c"}}, R"(C:\Music\a.mp3)", "/mnt/c/Music/a.mp3"},
      {"a bare drive", {{"C:", "/mnt/c"}}, R"(C:\a.mp3)", "/mnt/c/a.mp3"},
      {"UNC share", nas, R"(\\NAS\Music\Pop\b.mp3)", "/mnt/nas/Pop/b.mp3"},
      {"UNC boundary", nas, R"(\\nas\musicals\b.mp3)", none},
      {"UNC is not a drive path", nas, R"(C:\nas\music\b.mp3)", none},
      {"POSIX", vol, "/Volumes/data/x/y.m4a", "/mnt/data/x/y.m4a"},
      {"POSIX letter case counts", vol, "/Volumes/Data/y.m4a", none},
      {"POSIX boundary", vol, "/Volumes/database/y.m4a", none},
      {"POSIX root", {{"/", "/mnt/mac"}}, "/Users/n/a.m4a", "/mnt/mac/Users/n/a.m4a"},
      {"POSIX from never maps a Windows location", {{"/", "/x"}}, R"(C:\a.mp3)", none},
      {"Windows from never maps a POSIX location", nas, "//nas/music/a.mp3", none},
      {"longest prefix wins, whatever the order",
       {{"C:\\", "/mnt/c"}, nested[0], nested[1]}, R"(C:\Users\Adam\Music\a.mp3)",
       "/srv/music/a.mp3"},
      {"a shorter rule takes what the longer one does not", nested, R"(C:\Users\Eve\a.mp3)",
       "/home/Eve/a.mp3"},
      {"to with a trailing slash", slashTo, R"(C:\Music\a.mp3)", "/srv/music/a.mp3"},
      {"to with a trailing slash, the folder itself", slashTo, R"(C:\Music\)", "/srv/music"},
      {"to is the root", {{R"(C:\Music)", "/"}}, R"(C:\Music\a.mp3)", "/a.mp3"},
      {"runs of separators", win, R"(C:\\Music\\Rock\a.mp3)", "/srv/music/Rock/a.mp3"},
      {"runs of separators keep the boundary", win, R"(C:\\Musical\\a.mp3)", none},
      {"a POSIX path that begins with two slashes", vol, "//Volumes/data/x.m4a",
       "/mnt/data/x.m4a"},
      {"POSIX runs of separators", vol, "//Volumes/data//x.m4a", "/mnt/data/x.m4a"},
      {"a Windows to takes backslashes", {{"/Users/n/Music", R"(..\itunes\)"}},
       "/Users/n/Music/iTunes/a b/c.m4a", R"(..\itunes\iTunes\a b\c.m4a)"},
      {"a Windows to from a Windows location", {{R"(C:\Music)", "D:/m/"}}, "C:/Music/x/a.mp3",
       R"(D:/m\x\a.mp3)"},
      {"a drive root to keeps its separator", {{"/Volumes/data", "E:\\"}}, "/Volumes/data/a.mp3",
       R"(E:\a.mp3)"},
      {"a POSIX to keeps a backslash of a POSIX name", vol, R"(/Volumes/data/a\b.m4a)",
       R"(/mnt/data/a\b.m4a)"},
      {"a relative from never maps", {{"Music", "/x"}}, R"(Music\a.mp3)", none},
  };
  for (const auto& [what, rules, location, mapped] : cases) {
    SCOPED_TRACE(what);
    EXPECT_EQ(LocationMappings(rules).Map(location), mapped);
  }
}

TEST(LocationMappings, AFromThatNamesTheSamePlaceReplacesTheRule) {
  LocationMappings mappings;
  EXPECT_FALSE(mappings.Add({R"(C:\Music)", "/a"}));
  EXPECT_FALSE(mappings.Add({"/Music", "/b"}));
  EXPECT_TRUE(mappings.Add({"c:/music/", "/c"}));
  EXPECT_FALSE(mappings.Add({"/music", "/d"}));  // POSIX letter case counts
  const std::vector<LocationMapping> expected = {
      {"c:/music/", "/c"}, {"/Music", "/b"}, {"/music", "/d"}};
  EXPECT_EQ(mappings.Rules(), expected);
  EXPECT_EQ(mappings.Map(R"(C:\Music\x)"), "/c/x");

  EXPECT_TRUE(mappings.Remove(R"(C:\MUSIC)"));
  EXPECT_FALSE(mappings.Remove(R"(C:\MUSIC)"));
  EXPECT_FALSE(mappings.Map(R"(C:\Music\x)"));
  EXPECT_EQ(mappings.Rules().size(), 2u);
}

TEST(LocationMappings, OnlyFullPathsCanBeMapped) {
  for (const char* from : {"/", "/Volumes", "C:", "c:\\", "C:/Music", R"(\\nas)", R"(\\nas\m)"}) {
    EXPECT_TRUE(IsMappableFrom(from)) << from;
  }
  for (const char* from :
       {"", "Music", "C:Music", R"(\\)", R"(\\\nas)", R"(x\nas)", "1:\\x", "file"}) {
    EXPECT_FALSE(IsMappableFrom(from)) << from;
  }
}

}  // namespace
}  // namespace quorvella
