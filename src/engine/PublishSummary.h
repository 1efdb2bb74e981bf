// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "engine/CountFormat.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "engine/PublishStats.h"

namespace quorvella {

// The end-of-run report: a statistics box, then up to three advice boxes,
// each shown only when the counts call for it.
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
};

// Shows the report box by box, each waiting for the user, and opens the page
// on converting songs to MP3 after the last box when the user asked for it.
void ShowPublishSummary(const PublishStats& stats, const std::string& playlistFolder,
                        bool tivoDesktop23OrLater, const CountFormat& format,
                        MessageBoxes& boxes, Desktop& desktop,
                        const std::string& conversionPageAddress);

}  // namespace quorvella
