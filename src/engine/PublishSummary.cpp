// SPDX-License-Identifier: MIT
#include "engine/PublishSummary.h"

namespace quorvella {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kParagraph = "\r\n\r\n";
constexpr const char* kMoreInformation =
    "For more information, open the Quorvella 'Help' menu and choose 'Online documentation'.";

}  // namespace

bool PublishSummary::ShowsLikelyUnreachable(const PublishStats& stats, bool tivoDesktop23OrLater) {
  return tivoDesktop23OrLater && stats.LikelyUnreachableSongs > 0 &&
         stats.LikelyUnreachableSongs != stats.UnreachableSongs;
}

bool PublishSummary::ShowsMp3Advice(const PublishStats& stats) {
  return stats.WrongFormatSongs > stats.SongsWritten ||
         stats.EmptyPlaylistsDeleted == stats.PlaylistsPublished;
}

bool PublishSummary::ShowsUnreachableAdvice(const PublishStats& stats) {
  return stats.UnreachableSongs > 0;
}

Message PublishSummary::Statistics(const PublishStats& stats, bool tivoDesktop23OrLater,
                                   const CountFormat& format) {
  std::string text = "Quorvella has finished publishing the requested playlists.";
  text += kCrLf;
  text += kCrLf;
  text += "Playlists published:\t\t\t" + format(stats.PlaylistsPublished) + kCrLf;
  if (stats.EmptyPlaylistsDeleted > 0) {
    text += "Empty playlists deleted:\t\t" + format(stats.EmptyPlaylistsDeleted) + kCrLf;
  }
  text += "Total songs written:\t\t" + format(stats.SongsWritten) + kCrLf;
  if (stats.UnreachableSongs > 0) {
    text += "Total unreachable songs:\t\t" + format(stats.UnreachableSongs) + kCrLf;
  }
  if (ShowsLikelyUnreachable(stats, tivoDesktop23OrLater)) {
    text += "Likely unreachable songs:\t\t" + format(stats.LikelyUnreachableSongs) + kCrLf;
  }
  if (stats.WrongFormatSongs > 0) {
    text += "Total songs ignored (wrong format):\t" + format(stats.WrongFormatSongs) + kCrLf;
  }
  return Message{text, MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok};
}

Message PublishSummary::Mp3Advice() {
  std::string text =
      "TiVo can only play songs in MP3 format, so Quorvella only creates playlists containing "
      "MP3-format songs.";
  text += "  It appears that you have a lot of songs that are in a format other than MP3.  If you want";
  text += " TiVo to play the songs you will need to convert them to MP3 format then re-run Quorvella.";
  text += kParagraph;
  text += "Would you like to view a web page on the Brenlow Software web site which explains how to "
          "convert";
  text += " your song files to MP3 format?";
  return Message{text, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes};
}

Message PublishSummary::UnreachableAdvice() {
  std::string text =
      "Having unreachable songs is caused by writing the playlists to a folder on a different";
  text += " drive than the one containing the song files.";
  text += kParagraph;
  text += kMoreInformation;
  return Message{text, MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok};
}

Message PublishSummary::TiVoDesktopAdvice(const PublishStats& stats,
                                          const std::string& playlistFolder) {
  const bool oneSong = stats.LikelyUnreachableSongs == 1;
  std::string text = "TiVo Desktop 2.3 requires every song in a playlist";
  text += " to be located in the same folder as the playlist (or in a sub-folder thereof).";
  text += " Practically speaking, this means that you cannot have a \"Playlist\" folder separate "
          "from the folder";
  text += " containing the song files (such as the \"iTunes\\iTunes Music\" folder).";
  text += kParagraph;
  text += "Your ";
  text += stats.PlaylistsPublished == 1 ? "playlist contains" : "playlists contain";
  // Plain decimal, without grouping, unlike the statistics.
  text += ' ';
  text += std::to_string(stats.LikelyUnreachableSongs);
  text += oneSong ? " song" : " songs";
  text += " which probably will not be playable by TiVo because the";
  text += oneSong ? " song is" : " songs are";
  text += " not in the same folder as is the playlist (or a sub-folder of the playlist folder).";
  text += kParagraph;
  text += "Your playlist folder is currently:";
  text += kCrLf;
  text += playlistFolder;
  text += kParagraph;
  text += "To fix this problem, open the 'Tools' menu and choose 'Options'. Next, click on the "
          "'Pick TiVo";
  text += " Folder' button, and choose one of the music folders which have been published to TiVo "
          "Desktop.";
  text += " Then re-publish your playlists by clicking the 'Publish Playlists to TiVo' button";
  text += " in the main window.";
  text += kParagraph;
  text += kMoreInformation;
  return Message{text, MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok};
}

bool PublishSummary::ShowsServerReach(const ServerReachStats& stats) {
  return stats.SongsOutsideShare > 0 || stats.SongsNotInCodePage > 0;
}

Message PublishSummary::ServerReachAdvice(const ServerReachReport& report,
                                          const CountFormat& format) {
  const ServerReachStats& stats = report.stats;
  const auto songs = [&](std::int32_t count) {
    return format(count) + (count == 1 ? " song" : " songs");
  };
  std::string text = "Some of the songs written cannot be played by TiVo.";
  text += kCrLf;
  text += kCrLf;
  if (stats.SongsOutsideShare > 0) {
    text += "Songs outside the pyTivo share:\t\t" + format(stats.SongsOutsideShare) + kCrLf;
  }
  if (stats.SongsNotInCodePage > 0) {
    text += "Songs with names the code page cannot hold:\t" + format(stats.SongsNotInCodePage) +
            kCrLf;
  }
  if (stats.SongsOutsideShare > 0 && report.share) {
    text += kCrLf;
    text += songs(stats.SongsOutsideShare) + (stats.SongsOutsideShare == 1 ? " lies" : " lie") +
            " outside the pyTivo music share \"" + report.share->name + "\" (" +
            report.share->path + "), which holds the playlist folder.";
    text += " pyTivo only plays songs inside the share that holds the playlist.";
    text += " To fix this, add a music share to pyTivo's configuration whose path holds the songs"
            " and choose a playlist folder inside it (its root will do), or change this share's"
            " path to a folder that holds both the songs and the playlist folder. Then publish"
            " the playlists again.";
    text += kCrLf;
  }
  if (stats.SongsNotInCodePage > 0) {
    text += kCrLf;
    const bool one = stats.SongsNotInCodePage == 1;
    text += songs(stats.SongsNotInCodePage) +
            (one ? " has characters in its name" : " have characters in their names") +
            " that a playlist in the code page Windows-" + std::to_string(report.readCodePage) +
            " cannot hold, so TiVo cannot find " + (one ? "it." : "them.");
    text += " To keep every name intact, have the playlists written in UTF-8 as .m3u8 files,"
            " which pyTivo reads: run \"quorvella-cli options --encoding utf-8\", then publish"
            " the playlists again.";
    text += kCrLf;
  }
  // The counts and each piece of advice end in a line break, as the
  // statistics do.
  return Message{text, MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok};
}

void ShowPublishSummary(const PublishStats& stats, const std::string& playlistFolder,
                        bool tivoDesktop23OrLater, const CountFormat& format,
                        MessageBoxes& boxes, Desktop& desktop,
                        const std::string& conversionPageAddress,
                        const ServerReachReport& reach) {
  const bool tivoAdvice = PublishSummary::ShowsLikelyUnreachable(stats, tivoDesktop23OrLater);
  boxes.Show(PublishSummary::Statistics(stats, tivoDesktop23OrLater, format));
  bool openConversionPage = false;
  if (PublishSummary::ShowsMp3Advice(stats)) {
    openConversionPage = boxes.Show(PublishSummary::Mp3Advice()) == MsgAnswer::Yes;
  }
  if (PublishSummary::ShowsUnreachableAdvice(stats)) {
    boxes.Show(PublishSummary::UnreachableAdvice());
  }
  if (tivoAdvice) boxes.Show(PublishSummary::TiVoDesktopAdvice(stats, playlistFolder));
  // After the report's own boxes, which stay as they are.
  if (PublishSummary::ShowsServerReach(reach.stats)) {
    boxes.Show(PublishSummary::ServerReachAdvice(reach, format));
  }
  if (openConversionPage) desktop.ShellOpen(conversionPageAddress);
}

}  // namespace quorvella
