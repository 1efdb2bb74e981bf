// SPDX-License-Identifier: MIT
#include "engine/MainController.h"

#include "engine/PublishSummary.h"
#include "settings/Settings.h"

namespace quorvella {

MainController::MainController(MainView& view, MainServices services)
    : view_(view),
      services_(std::move(services)),
      catalogue_(view.ListPlaylists(), services_.settings, services_.files, services_.pump) {}

MainController::~MainController() = default;

void MainController::SetBusy(bool busy) {
  fBusy = busy;
  view_.BusyChanged(busy);
}

void MainController::ButRefresh_Click() {
  // A refresh would empty the list under a working refresh or run.
  if (fBusy) return;
  if (!giTunes) {
    view_.ListPlaylists().Clear();
    return;
  }
  view_.BusyChanged(true);
  view_.SetWaitCursor(true);
  fBusy = true;
  // The idle state comes back before a failure is reported.
  const auto done = [this] {
    fBusy = false;
    view_.SetWaitCursor(false);
    view_.BusyChanged(false);
  };
  try {
    if (const auto sourceId = catalogue_.Refresh(*giTunes)) fSourceId = *sourceId;
  } catch (const std::exception& error) {
    done();
    ReportLibraryFailure("The list of playlists could not be read", error);
    return;
  }
  done();
}

void MainController::ButCheckAll_Click() { catalogue_.SetAllChecks(true); }

void MainController::ButCheckNone_Click() { catalogue_.SetAllChecks(false); }

void MainController::ButStop_Click() {
  fCancelFlag = true;
  if (fPlaylistWriter) fPlaylistWriter->Cancel();
}

void MainController::fPlaylistWriter_Progress(std::int16_t percent) {
  view_.SetProgressTracks(static_cast<float>(percent));
}

void MainController::SetStatus(const std::string& text) { view_.SetStatusText(text); }

void MainController::ShowPublishSummary() {
  const bool tivo23 = services_.isTiVoDesktop23OrLater && services_.isTiVoDesktop23OrLater();
  ServerReachReport reach{reachStats_};
  if (reach_) {
    reach.share = reach_->Share();
    reach.readCodePage = reach_->ReadCodePage();
  }
  quorvella::ShowPublishSummary(stats_, services_.settings.GetPlaylistFolder(), tivo23,
                                services_.countFormat, services_.boxes, services_.desktop,
                                services_.conversionPageAddress, reach);
}

void MainController::ReportLibraryFailure(const std::string& what, const std::exception& error) {
  std::string text = what + ":\r\n\r\n" + error.what();
  services_.boxes.Show(Message{text, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
}

}  // namespace quorvella
