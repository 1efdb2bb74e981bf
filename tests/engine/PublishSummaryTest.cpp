// SPDX-License-Identifier: MIT
#include "engine/PublishSummary.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/FakeMainWindow.h"

namespace quorvella {
namespace {

using test::RecordingBoxes;
using test::RecordingDesktop;

const CountFormat kEnglish("en_US.UTF-8");

// The boxes of one report, Yes/No questions answered with `answer`, and how
// many boxes had been shown when the conversion page was opened.
struct Shown {
  RecordingBoxes boxes;
  RecordingDesktop desktop;
  int boxesWhenOpened = -1;
};
std::unique_ptr<Shown> Show(const PublishStats& stats, bool tivo23,
                            MsgAnswer answer = MsgAnswer::No, const ServerReachReport& reach = {}) {
  auto shown = std::make_unique<Shown>();
  shown->boxes.answer = answer;
  shown->desktop.onOpen = [s = shown.get()] {
    s->boxesWhenOpened = static_cast<int>(s->boxes.shown.size());
  };
  ShowPublishSummary(stats, "D:\\Lists", tivo23, kEnglish, shown->boxes, shown->desktop,
                     "https://convert", reach);
  return shown;
}

TEST(PublishSummary, StatisticsShowTheLinesWithCountsTabbedAndGrouped) {
  const std::string head = "Quorvella has finished publishing the requested playlists.\r\n\r\n";
  const auto plain = Show({.SongsWritten = 12, .PlaylistsPublished = 2}, true);
  ASSERT_EQ(plain->boxes.shown.size(), 1u);
  EXPECT_EQ(plain->boxes.shown[0].text,
            head + "Playlists published:\t\t\t2\r\nTotal songs written:\t\t12\r\n");
  EXPECT_EQ(plain->boxes.shown[0].icon, MsgIcon::Information);
  EXPECT_TRUE(plain->desktop.opened.empty());

  const PublishStats every{.SongsWritten = 1500, .UnreachableSongs = 2,
                           .LikelyUnreachableSongs = 3, .WrongFormatSongs = 1234,
                           .EmptyPlaylistsDeleted = 1, .PlaylistsPublished = 4};
  EXPECT_EQ(PublishSummary::Statistics(every, true, kEnglish).text,
            head +
                "Playlists published:\t\t\t4\r\n"
                "Empty playlists deleted:\t\t1\r\n"
                "Total songs written:\t\t1,500\r\n"
                "Total unreachable songs:\t\t2\r\n"
                "Likely unreachable songs:\t\t3\r\n"
                "Total songs ignored (wrong format):\t1,234\r\n");
}

TEST(PublishSummary, WhenTheLikelyUnreachableLineAndTheTiVoAdviceShow) {
  // TiVo Desktop 2.3 or later, likely unreachable, unreachable, shown
  const std::tuple<bool, int, int, bool> cases[] = {
      {true, 3, 0, true},   {true, 2, 2, false},  {true, 5000, 5000, false},
      {true, 0, 1, false},  {false, 3, 0, false}, {true, 1, 4, true},
  };
  for (const auto& [tivo23, likely, unreachable, shown] : cases) {
    SCOPED_TRACE(std::to_string(likely) + "/" + std::to_string(unreachable));
    const auto report = Show(
        {.UnreachableSongs = unreachable, .LikelyUnreachableSongs = likely, .PlaylistsPublished = 1},
        tivo23);
    const auto& boxes = report->boxes.shown;
    EXPECT_EQ(boxes[0].text.find("Likely unreachable songs:") != std::string::npos, shown);
    EXPECT_EQ(boxes.back().text.starts_with("TiVo Desktop 2.3 requires"), shown);
  }
}

TEST(PublishSummary, Mp3AdviceConditionsAndItsAnswer) {
  const std::pair<PublishStats, bool> cases[] = {
      {{.SongsWritten = 10, .WrongFormatSongs = 40, .PlaylistsPublished = 1}, true},
      {{.SongsWritten = 40, .WrongFormatSongs = 10, .PlaylistsPublished = 1}, false},
      {{.SongsWritten = 0, .EmptyPlaylistsDeleted = 2, .PlaylistsPublished = 2}, true},
      {{.SongsWritten = 5, .EmptyPlaylistsDeleted = 1, .PlaylistsPublished = 2}, false},
  };
  for (const auto& [stats, shown] : cases) EXPECT_EQ(PublishSummary::ShowsMp3Advice(stats), shown);

  const Message advice = PublishSummary::Mp3Advice();
  EXPECT_EQ(advice.text,
            "TiVo can only play songs in MP3 format, so Quorvella only creates playlists "
            "containing MP3-format songs.  It appears that you have a lot of songs that are in a "
            "format other than MP3.  If you want TiVo to play the songs you will need to convert "
            "them to MP3 format then re-run Quorvella.\r\n\r\nWould you like to view a web page "
            "on the Brenlow Software web site which explains how to convert your song files to "
            "MP3 format?");
  EXPECT_TRUE(advice.icon == MsgIcon::Question && advice.buttons == MsgButtons::YesNo &&
              advice.defaultButton == MsgAnswer::Yes);
}

TEST(PublishSummary, TiVoAdviceSingularAndPluralPiecesWithAnUngroupedCount) {
  const std::string head =
      "TiVo Desktop 2.3 requires every song in a playlist to be located in the same folder as "
      "the playlist (or in a sub-folder thereof). Practically speaking, this means that you "
      "cannot have a \"Playlist\" folder separate from the folder containing the song files "
      "(such as the \"iTunes\\iTunes Music\" folder).\r\n\r\n";
  const std::string tail =
      "To fix this problem, open the 'Tools' menu and choose 'Options'. Next, click on the 'Pick "
      "TiVo Folder' button, and choose one of the music folders which have been published to "
      "TiVo Desktop. Then re-publish your playlists by clicking the 'Publish Playlists to TiVo' "
      "button in the main window.\r\n\r\nFor more information, open the Quorvella 'Help' menu "
      "and choose 'Online documentation'.";
  EXPECT_EQ(PublishSummary::TiVoDesktopAdvice({.LikelyUnreachableSongs = 3, .PlaylistsPublished = 1},
                                              " D:\\Lists ")
                .text,
            head +
                "Your playlist contains 3 songs which probably will not be playable by TiVo "
                "because the songs are not in the same folder as is the playlist (or a sub-folder "
                "of the playlist folder).\r\n\r\nYour playlist folder is currently:\r\n D:\\Lists "
                "\r\n\r\n" +
                tail);
  const auto advice = [](int songs, int playlists) {
    return PublishSummary::TiVoDesktopAdvice(
               {.LikelyUnreachableSongs = songs, .PlaylistsPublished = playlists}, "F")
        .text;
  };
  EXPECT_NE(advice(1, 2).find("Your playlists contain 1 song which probably will not be playable "
                              "by TiVo because the song is not"),
            std::string::npos);
  EXPECT_NE(advice(1500, 2).find(" contain 1500 songs "), std::string::npos);
}

TEST(CountFormat, GroupsDigitsByTheLocale) {
  EXPECT_EQ(kEnglish(0), "0");
  EXPECT_EQ(kEnglish(999), "999");
  EXPECT_EQ(kEnglish(1234), "1,234");
  EXPECT_EQ(kEnglish(-1234567), "-1,234,567");
  EXPECT_EQ(kEnglish(INT32_MIN), "-2,147,483,648");
  const CountFormat german("de_DE.UTF-8");
  if (german(1234) == "1,234") GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  EXPECT_EQ(german(1234), "1.234");
  EXPECT_EQ(CountFormat("en_IN.UTF-8")(1234567890), "1,23,45,67,890") << "threes, then twos";
  EXPECT_EQ(CountFormat("C")(1234), "1,234") << "no grouping in C: keep the English one";
}

TEST(PublishSummary, BoxesComeInOrderAndYesOpensTheConversionPageOnlyAfterTheLast) {
  const PublishStats stats{.SongsWritten = 1, .UnreachableSongs = 1, .LikelyUnreachableSongs = 2,
                           .WrongFormatSongs = 9, .PlaylistsPublished = 1};
  const ServerReachReport reach{{.SongsOutsideShare = 1, .SongsNotInCodePage = 1234},
                                MusicShare{"Music", "/srv/music"},
                                1252};
  const std::vector<std::string> expected = {
      PublishSummary::Statistics(stats, true, kEnglish).text, PublishSummary::Mp3Advice().text,
      "Having unreachable songs is caused by writing the playlists to a folder on a different "
      "drive than the one containing the song files.\r\n\r\nFor more information, open the "
      "Quorvella 'Help' menu and choose 'Online documentation'.",
      PublishSummary::TiVoDesktopAdvice(stats, "D:\\Lists").text,
      // Songs the server will not play come last.
      "Some of the songs written cannot be played by TiVo.\r\n\r\n"
      "Songs outside the pyTivo share:\t\t1\r\n"
      "Songs with names the code page cannot hold:\t1,234\r\n\r\n"
      "1 song lies outside the pyTivo music share \"Music\" (/srv/music), which holds the "
      "playlist folder. pyTivo only plays songs inside the share that holds the playlist. To "
      "fix this, add a music share to pyTivo's configuration whose path holds the songs and "
      "choose a playlist folder inside it (its root will do), or change this share's path to "
      "a folder that holds both the songs and the playlist folder. Then publish the "
      "playlists again.\r\n\r\n"
      "1,234 songs have characters in their names that a playlist in the code page "
      "Windows-1252 cannot hold, so TiVo cannot find them. To keep every name intact, have "
      "the playlists written in UTF-8 as .m3u8 files, which pyTivo reads: run "
      "\"quorvella-cli options --encoding utf-8\", then publish the playlists again.\r\n"};
  for (const MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
    const auto shown = Show(stats, true, answer, reach);
    std::vector<std::string> texts;
    for (const Message& box : shown->boxes.shown) texts.push_back(box.text);
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(shown->boxes.shown.back().icon, MsgIcon::Information);
    EXPECT_EQ(shown->boxesWhenOpened, answer == MsgAnswer::Yes ? 5 : -1);
    EXPECT_EQ(shown->desktop.opened, answer == MsgAnswer::Yes
                                         ? std::vector<std::string>{"https://convert"}
                                         : std::vector<std::string>{});
  }
  EXPECT_EQ(Show(stats, true, MsgAnswer::Yes)->boxes.shown.size(), 4u) << "nothing to say, no box";
  EXPECT_EQ(PublishSummary::ServerReachAdvice({{0, 2}, std::nullopt, 1252}, kEnglish).text.find("share"),
            std::string::npos);
}

}  // namespace
}  // namespace quorvella
