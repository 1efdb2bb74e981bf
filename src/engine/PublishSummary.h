// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "engine/CountFormat.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "engine/PublishStats.h"
#include "engine/ServerReach.h"

namespace quorvella {

// What the report says after the statistics about written songs that the
// server will not play.
struct ServerReachReport {
  ServerReachStats stats;
  std::optional<MusicShare> share{};  // the pyTivo share holding the playlist folder
  int readCodePage = kPyTivoM3uCodePage;  // the code page .m3u playlists are read in
};

// The end-of-run report: a statistics box, then up to three advice boxes,
// each shown only when the counts call for it, and last a box on written
// songs that the server will not play.
struct PublishSummary {
  // Line 6 of the statistics (and with it the TiVo Desktop advice) is shown
  // only with TiVo Desktop 2.3 or later and likely-unreachable songs that
  // differ in number from the unreachable ones.
  static bool ShowsLikelyUnreachable(const PublishStats& stats, bool tivoDesktop23OrLater);
  static bool ShowsMp3Advice(const PublishStats& stats);
  static bool ShowsUnreachableAdvice(const PublishStats& stats);

  static Message Statistics(const PublishStats& stats, bool tivoDesktop23OrLater,
                            const CountFormat& format);
  static Message Mp3Advice();
  static Message UnreachableAdvice();
  static Message TiVoDesktopAdvice(const PublishStats& stats, const std::string& playlistFolder);

  static bool ShowsServerReach(const ServerReachStats& stats);
  static Message ServerReachAdvice(const ServerReachReport& report, const CountFormat& format);
};

// Shows the report box by box, each waiting for the user, and opens the page
// on converting songs to MP3 after the last box when the user asked for it.
void ShowPublishSummary(const PublishStats& stats, const std::string& playlistFolder,
                        bool tivoDesktop23OrLater, const CountFormat& format,
                        MessageBoxes& boxes, Desktop& desktop,
                        const std::string& conversionPageAddress,
                        const ServerReachReport& reach = {});

}  // namespace quorvella
