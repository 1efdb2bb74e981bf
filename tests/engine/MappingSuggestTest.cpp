// SPDX-License-Identifier: MIT
// The search for mappings over real folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/MappingSuggest.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

}  // namespace

void PrintTo(const LocationMapping& rule, std::ostream* out) {
  *out << rule.from << " -> " << rule.to;
}

namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

class MappingSuggest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvella-suggest-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  // An empty file at a path below the temporary root.
  std::string Touch(const std::string& relative) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream{path};
    return path.string();
  }
  std::string Dir(const std::string& relative) const { return (root_ / relative).string(); }

  MappingSuggestions Suggest(const LibraryLocations& library, SuggestOptions options = {},
                             const LocationMappings& existing = {}) {
    if (options.roots.empty()) options.roots = {root_.string()};
    return SuggestMappings(library, existing, options, Exists);
  }

  fs::path root_;
};

std::vector<LocationMapping> Rules(const MappingSuggestions& suggestions) {
  std::vector<LocationMapping> rules;
  for (const MappingProposal& proposal : suggestions.proposals) rules.push_back(proposal.rule);
  return rules;
}

TEST_F(MappingSuggest, TheMusicFolderIsTriedFirst) {
  LibraryLocations library;
  library.musicFolder = "/Users/nathan/Music/iTunes/iTunes Media/";
  for (int i = 0; i < 60; ++i) {
    const std::string relative =
        (i % 3 == 0 ? "Podcasts/Show/" : "Music/Artist " + std::to_string(i % 7) + "/Album/") +
        std::to_string(i) + ".m4a";
    library.paths.push_back(library.musicFolder + relative);
    Touch("nas/itunes/" + relative);
  }
  library.paths.push_back("/Users/nathan/Movies/x.m4v");  // not copied
  const MappingSuggestions suggestions = Suggest(library);
  EXPECT_EQ(suggestions.missing, 61);
  ASSERT_EQ(suggestions.proposals.size(), 1u);
  EXPECT_EQ(suggestions.proposals[0].rule,
            (LocationMapping{"/Users/nathan/Music/iTunes/iTunes Media", Dir("nas/itunes")}));
  EXPECT_EQ(suggestions.proposals[0].sampled, 40);
  EXPECT_EQ(suggestions.proposals[0].found, 40);
  EXPECT_FALSE(suggestions.depthLimitReached);
  EXPECT_FALSE(suggestions.timeLimitReached);
}

TEST_F(MappingSuggest, TailsFindCopiedTreesAndTheRuleWidensAsFarAsBothSidesAgree) {
  LibraryLocations library;
  for (int i = 0; i < 30; ++i) {
    const std::string album = "Artist " + std::to_string(i % 5) + "\\Album " + std::to_string(i);
    library.paths.push_back(R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music\)" + album +
                            "\\01 Song.mp3");
    Touch("media/music/Artist " + std::to_string(i % 5) + "/Album " + std::to_string(i) +
          "/01 Song.mp3");
    library.paths.push_back(R"(\\nas\music\)" + album + "\\02 Other.mp3");
    Touch("mnt/nas/Artist " + std::to_string(i % 5) + "/Album " + std::to_string(i) +
          "/02 Other.mp3");
    library.paths.push_back(R"(E:\Music\)" + album + "\\03 Gone.mp3");
  }
  // The copy spells "Music" in lower case, so the rule cannot reach above it.
  EXPECT_EQ(Rules(Suggest(library)),
            (std::vector<LocationMapping>{
                {R"(\\nas\music)", Dir("mnt/nas")},
                {R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music)", Dir("media/music")},
            }));
}

TEST_F(MappingSuggest, ARuleNeverReachesAboveTheFolderItWasFoundUnder) {
  LibraryLocations library;
  for (int i = 0; i < 5; ++i) {
    library.paths.push_back("/Volumes/data/Music/Artist/Album/" + std::to_string(i) + ".mp3");
    Touch("Music/Artist/Album/" + std::to_string(i) + ".mp3");
  }
  SuggestOptions options;
  options.roots = {Dir("Music")};
  EXPECT_EQ(Rules(Suggest(library, options)),
            (std::vector<LocationMapping>{{"/Volumes/data/Music", Dir("Music")}}));
  // Searched from above, both sides agree on "Music" as well.
  EXPECT_EQ(Rules(Suggest(library)),
            (std::vector<LocationMapping>{{"/Volumes/data", root_.string()}}));
}

TEST_F(MappingSuggest, AProposalNeedsTwoTracksFoundAndAQuarterOfThoseItMaps) {
  struct Case {
    const char* album;
    int tracks;
    int copied;
    bool proposed;
  };
  const Case cases[] = {
      {"A", 1, 1, true},    // the only one
      {"B", 3, 1, false},   // one coincidence
      {"C", 12, 2, false},  // less than a quarter
      {"D", 12, 3, true},   // a quarter
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.album);
    LibraryLocations library;
    for (int i = 0; i < c.tracks; ++i) {
      const std::string tail = std::string(c.album) + "/Album/" + std::to_string(i) + ".mp3";
      library.paths.push_back("/Users/eve/Music/" + tail);
      if (i < c.copied) Touch("elsewhere/" + tail);
    }
    const MappingSuggestions suggestions = Suggest(library);
    ASSERT_EQ(suggestions.proposals.size(), c.proposed ? 1u : 0u);
    if (c.proposed) {
      EXPECT_EQ(suggestions.proposals[0].sampled, c.tracks);
      EXPECT_EQ(suggestions.proposals[0].found, c.copied);
    }
  }
}

TEST_F(MappingSuggest, TracksThatARuleMapsAreLeftAlone) {
  LibraryLocations library;
  for (int i = 0; i < 5; ++i) {
    library.paths.push_back("/Users/eve/Music/A/B/" + std::to_string(i) + ".mp3");
    Touch("elsewhere/A/B/" + std::to_string(i) + ".mp3");
  }
  const LocationMappings existing(std::vector<LocationMapping>{{"/Users/eve", "/nowhere"}});
  const MappingSuggestions suggestions = Suggest(library, {}, existing);
  EXPECT_EQ(suggestions.missing, 0);
  EXPECT_TRUE(suggestions.proposals.empty());
  EXPECT_EQ(Suggest(library).proposals.size(), 1u);
}

TEST_F(MappingSuggest, TheSearchStopsAtItsLimitsAndSaysSo) {
  LibraryLocations library;
  for (int i = 0; i < 5; ++i) {
    library.paths.push_back("/Users/eve/Music/A/B/" + std::to_string(i) + ".mp3");
    Touch("deep/er/still/A/B/" + std::to_string(i) + ".mp3");
  }
  SuggestOptions shallow;
  shallow.maxDepth = 2;
  const MappingSuggestions cut = Suggest(library, shallow);
  EXPECT_TRUE(cut.depthLimitReached);
  EXPECT_TRUE(cut.proposals.empty());
  shallow.maxDepth = 4;
  EXPECT_EQ(Suggest(library, shallow).proposals.size(), 1u);

  SuggestOptions hurried;
  hurried.timeLimit = std::chrono::milliseconds(0);
  const MappingSuggestions stopped = Suggest(library, hurried);
  EXPECT_TRUE(stopped.timeLimitReached);
  EXPECT_TRUE(stopped.proposals.empty());
}

}  // namespace
}  // namespace quorvella
