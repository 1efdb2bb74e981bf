// SPDX-License-Identifier: MIT
// The publishing pass of the main window: checks the playlist folder, queues
// the checked rows, writes them one by one and ends with the report.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "engine/MainController.h"
#include "platform/PathRules.h"
#include "settings/Settings.h"
#include "platform/Text.h"

namespace quorvella {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string DoneText(std::int32_t songs, const CountFormat& format) {
  if (songs == 0) return "Done (empty)";
  if (songs == 1) return "Done (1 song)";
  return "Done (" + format(songs) + " songs)";
}

// The row's tag read as a number and rounded to a whole 32-bit number; a tag
// that is no number names no playlist.
std::int32_t PlaylistIdFromTag(const std::string& tag) {
  char* end = nullptr;
  const double value = std::strtod(tag.c_str(), &end);
  if (end == tag.c_str() || !std::isfinite(value) || value < INT32_MIN || value > INT32_MAX) {
    return 0;
  }
  return static_cast<std::int32_t>(std::nearbyint(value));
}

}  // namespace

std::string MainController::PlaylistFolder() const {
  return TrimSpaces(services_.settings.GetPlaylistFolder());
}

bool MainController::CheckPlaylistFolder() {
  const std::string folder = PlaylistFolder();
  std::string note;
  if (!folder.empty()) {
    if (services_.files.PathExists(folder)) return true;
    note = " (The currently-selected folder does not exist.)";
  }
  std::string text = "You first need to select a folder in which to create the playlists.";
  text += note;
  text += kCrLf;
  text += kCrLf;
  text += "To do this, open the 'Tools' menu and choose 'Options'.";
  text += kCrLf;
  text += kCrLf;
  text += "Be sure to select a playlist folder which has been";
  text += " published via the TiVo Desktop server (or a sub-folder thereof).  This will ensure that your";
  text += " playlists are visible to TiVo.";
  if (services_.isTiVoDesktop23OrLater && services_.isTiVoDesktop23OrLater()) {
    text += kCrLf;
    text += kCrLf;
    text += "In addition, be sure that the playlist folder which contains all of the";
    text += " songs in the playlist (or is a parent folder thereof).";
  }
  services_.boxes.Show(Message{text, MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok});
  return false;
}

void MainController::ButPublish_Click() {
  if (fBusy) return;
  if (!CheckPlaylistFolder()) return;

  PlaylistListView& list = view_.ListPlaylists();
  int checkedRows = 0;
  for (int row = 0; row < list.Count(); ++row) {
    if (list.Checked(row)) {
      ++checkedRows;
      list.SetStatus(row, "Queued");
    } else {
      list.SetStatus(row, "-");
    }
  }
  if (checkedRows == 0) {
    services_.boxes.Show(Message{
        "Please place a checkmark by at least one playlist and then click 'Publish Playlists to "
        "TiVo' again.",
        MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok});
    return;
  }

  // A full run writes a file for each checked playlist; one that writes
  // only changes writes few.
  if (!changedOnly_) {
    services_.files.PrepareFiles(AddBackslash(PlaylistFolder()),
                                 static_cast<std::size_t>(checkedRows), 0);
  }
  view_.SetStopEnabled(true);
  view_.SetProgressPlaylists(0);
  view_.SetProgressTracks(0);
  // The folder as the check above saw it, so that what was checked is where
  // the files go.
  fPlaylistWriter = std::make_unique<ClsPlaylistWriter>(
      services_.settings, services_.files, services_.pump, stats_, PlaylistFolder(),
      [this](std::int16_t percent) { fPlaylistWriter_Progress(percent); });
  fPlaylistWriter->OnOutputFailed([this](const std::string& path, const std::string& reason) {
    view_.PlaylistFileFailed(path, reason);
  });
  fPlaylistWriter->SetChangedOnly(changedOnly_);
  if (playlistFile_) fPlaylistWriter->OnPlaylistFile(playlistFile_);

  SetBusy(true);
  fCancelFlag = false;
  // Every count of the run starts at 0 but the one of the playlist being
  // written, which the writer sets as each playlist starts.
  const std::int32_t songsInPlaylist = stats_.SongsInPlaylist;
  stats_ = PublishStats{};
  stats_.SongsInPlaylist = songsInPlaylist;
  reachStats_ = ServerReachStats{};
  StartServerReach();

  try {
    PublishCheckedRows(checkedRows);
  } catch (const std::exception& error) {
    // The library (or the disk) failed under the run: end it in order.
    view_.SetStopEnabled(false);
    view_.SetProgressPlaylists(0);
    view_.SetProgressTracks(0);
    SetStatus("Stopped");
    fPlaylistWriter.reset();
    reach_.reset();
    SetBusy(false);
    ReportLibraryFailure("Publishing was stopped because of an error", error);
    return;
  }

  view_.SetStopEnabled(false);
  view_.SetProgressPlaylists(0);
  view_.SetProgressTracks(0);
  SetStatus(fCancelFlag ? "Stopped" : "Done");
  services_.pump.DoEvents();
  ShowPublishSummary();
  fPlaylistWriter.reset();
  reach_.reset();
  SetBusy(false);
}

void MainController::StartServerReach() {
  const std::string& folder = fPlaylistWriter->PlaylistFolder();
  std::optional<MusicShare> share;
  if (services_.pyTivoShareOf) share = services_.pyTivoShareOf(folder);
  reach_ = std::make_unique<ServerReach>(folder, std::move(share),
                                         services_.settings.GetPlaylistEncoding(),
                                         services_.files.AnsiCodePage());
  fPlaylistWriter->OnSongWritten(
      [this](const std::string& path) { reach_->CountWrittenSong(path, reachStats_); });
}

void MainController::PublishCheckedRows(int checkedRows) {
  PlaylistListView& list = view_.ListPlaylists();
  // Of playlists that share a file, the last one's is what stays: only that
  // one need be compared and written when only changes are.
  std::map<std::string, int> lastRowOfFile;
  if (changedOnly_) {
    for (int row = 0; row < list.Count(); ++row) {
      if (list.Checked(row)) lastRowOfFile[SanitizeFileName(list.Text(row), "_")] = row;
    }
  }
  int rowsDone = 0;
  for (int row = 0; row < list.Count(); ++row) {
    if (list.Checked(row)) {
      ++rowsDone;
      ++stats_.PlaylistsPublished;
      list.SetStatus(row, "Publishing...");
      services_.pump.DoEvents();

      const std::int32_t playlistId = PlaylistIdFromTag(list.Tag(row));
      const auto playlist = giTunes ? giTunes->GetITObjectByID(fSourceId, playlistId, 0, 0)
                                    : std::shared_ptr<IITPlaylist>();
      if (!playlist) {
        list.SetStatus(row, "Not found");
        services_.boxes.Show(Message{
            "An unexpected internal error has occurred.  Please refresh the list of playlists.",
            MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
        fCancelFlag = true;
        return;
      }

      SetStatus("Publishing " + playlist->Name() + "...");
      list.EnsureVisible(row);
      services_.pump.DoEvents();

      const auto last = lastRowOfFile.find(SanitizeFileName(playlist->Name(), "_"));
      const bool writtenOverLater = last != lastRowOfFile.end() && last->second > row;
      const std::int32_t songs = fPlaylistWriter->WritePlaylist(*playlist, writtenOverLater);
      list.SetStatus(row, DoneText(songs, services_.countFormat));
    }
    // More rows may have been checked meanwhile; the bar never passes 100.
    view_.SetProgressPlaylists(
        std::min(100.0f, static_cast<float>(rowsDone) / static_cast<float>(checkedRows) * 100.0f));
    services_.pump.DoEvents();
    if (fCancelFlag) return;
  }
}

}  // namespace quorvella
