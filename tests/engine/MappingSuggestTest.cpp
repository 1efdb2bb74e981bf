// SPDX-License-Identifier: MIT
// The search for mappings over real folders.
#include <gtest/gtest.h>

#include "engine/MappingSuggest.h"
#include "library/xml/LibraryTestFiles.h"

namespace quorvella {

void PrintTo(const LocationMapping& rule, std::ostream* out) {
  *out << rule.from << " -> " << rule.to;
}

namespace {

class MappingSuggest : public ::testing::Test {
 protected:
  // An empty song file below the temporary root.
  void Touch(const std::string& relative) { testing::WriteBytes(dir_.File(relative), ""); }
  std::string Dir(const std::string& relative) const { return dir_.File(relative); }

  std::vector<LocationMapping> Suggest(const LibraryLocations& library, SuggestOptions options = {},
                                       const LocationMappings& existing = {}) {
    if (options.roots.empty()) options.roots = {dir_.Path().string()};
    last_ = SuggestMappings(library, existing, options, [](const std::string& path) {
      std::error_code error;
      return std::filesystem::exists(path, error);
    });
    std::vector<LocationMapping> rules;
    for (const MappingProposal& proposal : last_.proposals) rules.push_back(proposal.rule);
    return rules;
  }

  testing::TempDir dir_;
  MappingSuggestions last_;
};

TEST_F(MappingSuggest, TheMusicFolderIsTriedFirstAndMappedTracksAreLeftAlone) {
  LibraryLocations library;
  library.musicFolder = "/Users/nathan/Music/iTunes/iTunes Media/";
  for (int i = 0; i < 60; ++i) {
    const std::string relative =
        (i % 3 == 0 ? "Podcasts/Show/" : "Music/A" + std::to_string(i % 7) + "/B/") +
        std::to_string(i) + ".m4a";
    library.paths.push_back(library.musicFolder + relative);
    Touch("nas/itunes/" + relative);
  }
  library.paths.push_back("/Users/nathan/Movies/x.m4v");  // not copied
  EXPECT_EQ(Suggest(library), (std::vector<LocationMapping>{
                                  {"/Users/nathan/Music/iTunes/iTunes Media", Dir("nas/itunes")}}));
  EXPECT_EQ(last_.missing, 61);
  EXPECT_EQ(last_.proposals[0].sampled, 40);
  EXPECT_EQ(last_.proposals[0].found, 40);
  EXPECT_FALSE(last_.depthLimitReached || last_.timeLimitReached);

  EXPECT_TRUE(
      Suggest(library, {}, LocationMappings(std::vector<LocationMapping>{{"/Users", "/nowhere"}}))
          .empty());
  EXPECT_EQ(last_.missing, 0);
}

TEST_F(MappingSuggest, TailsFindCopiedTreesAndTheRuleWidensWhileBothSidesAgree) {
  LibraryLocations library;
  for (int i = 0; i < 30; ++i) {
    const std::string artist = "Artist " + std::to_string(i % 5), title = "Album " + std::to_string(i);
    const std::string album = artist + "\\" + title, copied = artist + "/" + title;
    library.paths.push_back(R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music\)" + album + "\\1.mp3");
    Touch("media/music/" + copied + "/1.mp3");
    library.paths.push_back(R"(\\nas\music\)" + album + "\\2.mp3");
    Touch("mnt/nas/" + copied + "/2.mp3");
    library.paths.push_back(R"(E:\Music\)" + album + "\\3.mp3");
  }
  // The copy spells "music" in lower case, so the rule stops below it; a
  // share's root cannot be widened away.
  EXPECT_EQ(Suggest(library),
            (std::vector<LocationMapping>{
                {R"(\\nas\music)", Dir("mnt/nas")},
                {R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music)", Dir("media/music")}}));
}

TEST_F(MappingSuggest, ARuleStaysBelowItsRootAndTheSearchStopsAtItsLimitsAndSaysSo) {
  LibraryLocations library;
  for (const char* song : {"1.mp3", "2.mp3"}) {
    library.paths.push_back(std::string("/Volumes/data/Music/A/B/") + song);
    Touch(std::string("Music/A/B/") + song);
  }
  SuggestOptions options;
  options.roots = {Dir("Music")};
  EXPECT_EQ(Suggest(library, options),
            (std::vector<LocationMapping>{{"/Volumes/data/Music", Dir("Music")}}));
  EXPECT_EQ(Suggest(library),
            (std::vector<LocationMapping>{{"/Volumes/data", dir_.Path().string()}}));
  // A drive's root is its letter alone, so the rule may widen up to it.
  LibraryLocations drive;
  for (const char* song : {"1.mp3", "2.mp3"}) {
    drive.paths.push_back(std::string(R"(D:\Music\A\B\)") + song);
  }
  EXPECT_EQ(Suggest(drive), (std::vector<LocationMapping>{{R"(D:\)", dir_.Path().string()}}));

  options = {};
  options.maxDepth = 1;  // "A" lies two levels down
  EXPECT_TRUE(Suggest(library, options).empty());
  EXPECT_TRUE(last_.depthLimitReached);
  options.maxDepth = 2;
  EXPECT_EQ(Suggest(library, options).size(), 1u);
  options.timeLimit = std::chrono::milliseconds(0);
  EXPECT_TRUE(Suggest(library, options).empty());
  EXPECT_TRUE(last_.timeLimitReached);
}

TEST_F(MappingSuggest, AProposalNeedsTwoTracksFoundAndAQuarterOfThoseItMaps) {
  // An album, its tracks, how many of them are copied, whether a rule is proposed.
  const std::tuple<const char*, int, int, bool> cases[] = {
      {"A", 1, 1, true}, {"B", 3, 1, false}, {"C", 12, 2, false}, {"D", 12, 3, true}};
  for (const auto& [album, tracks, copied, proposed] : cases) {
    SCOPED_TRACE(album);
    LibraryLocations library;
    for (int i = 0; i < tracks; ++i) {
      const std::string tail = std::string(album) + "/B/" + std::to_string(i) + ".mp3";
      library.paths.push_back("/Users/eve/Music/" + tail);
      if (i < copied) Touch("elsewhere/" + tail);
    }
    EXPECT_EQ(Suggest(library).size(), proposed ? 1u : 0u);
  }
}

}  // namespace
}  // namespace quorvella
