// SPDX-License-Identifier: MIT
#include "engine/ClsPlaylistWriter.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "engine/PlaylistFiles.h"
#include "library/ITunes.h"
#include "platform/PathRules.h"
#include "settings/Settings.h"

namespace quorvella {

ClsPlaylistWriter::ClsPlaylistWriter(const Settings& settings, FileSystem& files,
                                     EventPump& pump, PublishStats& stats,
                                     std::string playlistFolder,
                                     std::function<void(std::int16_t percent)> progress)
    : settings_(settings),
      files_(files),
      pump_(pump),
      stats_(stats),
      playlistFolder_(std::move(playlistFolder)),
      fromFolder_(playlistFolder_),
      progress_(std::move(progress)) {}

ClsPlaylistWriter::~ClsPlaylistWriter() {
  try {
    CloseOutput();
  } catch (...) {
    // A file that cannot be flushed while the writer goes away has nobody
    // left to report to.
  }
}

void ClsPlaylistWriter::InitOutput() {
  if (output_) CloseOutput();
  const PlaylistEncoding encoding = settings_.GetPlaylistEncoding();
  outputPath_ = PlaylistFilePath(playlistFolder_, playlistName_, encoding);
  // The old file goes to the trash so the user can get it back; when that
  // fails it is simply overwritten below.
  try {
    RecycleFile(files_, outputPath_, false);
  } catch (...) {
  }
  std::string error;
  try {
    output_ = encoding == PlaylistEncoding::Utf8 ? files_.CreateUtf8TextFile(outputPath_, error)
                                                 : files_.CreateTextFile(outputPath_, error);
    if (output_) output_->WriteLine("#EXTM3U");
  } catch (const std::exception& failure) {
    output_.reset();
    error = failure.what();
  } catch (...) {
    output_.reset();
  }
  if (!output_ && outputFailed_) outputFailed_(outputPath_, error);
}

void ClsPlaylistWriter::CloseOutput() {
  if (!output_) return;
  auto file = std::move(output_);
  file->Close();
}

PlaylistFileOutcome ClsPlaylistWriter::FinishChangedOnly() {
  const PlaylistEncoding encoding = settings_.GetPlaylistEncoding();
  // An empty playlist whose file is deleted goes the usual way, so that the
  // old file still reaches the trash.
  const bool deletesEmpty = settings_.GetDeleteEmptyOutput() && stats_.SongsInPlaylist == 0;
  PlaylistFileOutcome outcome = PlaylistFileOutcome::Unchanged;
  if (deletesEmpty ||
      (!writtenOverLater_ &&
       !files_.HoldsTextFile(outputPath_, pendingLines_, encoding == PlaylistEncoding::Utf8))) {
    InitOutput();
    if (!output_) {
      // As a full publish counts them: no file, no songs written.
      stats_.SongsWritten -= stats_.SongsInPlaylist;
      stats_.SongsInPlaylist = 0;
      pendingLines_.clear();
      pendingSongs_.clear();
      return PlaylistFileOutcome::Failed;
    }
    // The header was written by InitOutput.
    for (std::size_t i = 1; i < pendingLines_.size(); ++i) output_->WriteLine(pendingLines_[i]);
    outcome = PlaylistFileOutcome::Written;
  }
  if (songWritten_) {
    for (const std::string& path : pendingSongs_) songWritten_(path);
  }
  pendingLines_.clear();
  pendingSongs_.clear();
  return outcome;
}

std::int32_t ClsPlaylistWriter::WritePlaylist(const IITPlaylist& playlist, bool writtenOverLater) {
  playlistName_ = SanitizeFileName(playlist.Name(), "_");
  writtenOverLater_ = writtenOverLater;
  if (changedOnly_) {
    if (output_) CloseOutput();
    outputPath_ =
        PlaylistFilePath(playlistFolder_, playlistName_, settings_.GetPlaylistEncoding());
    pendingLines_.assign(1, "#EXTM3U");
    pendingSongs_.clear();
  } else {
    InitOutput();
  }
  const std::int32_t total = playlist.Tracks()->Count();
  std::int32_t index = 0;
  stats_.SongsInPlaylist = 0;

  const auto tracks = playlist.Tracks();
  const std::int32_t count = tracks->Count();
  for (std::int32_t i = 0; i < count; ++i) {
    const auto track = tracks->Item(i);
    ++index;
    if (WriteTrack(*track)) {
      ++stats_.SongsInPlaylist;
      ++stats_.SongsWritten;
    }
    pump_.DoEvents();
    if (cancelFlag_) break;
    if (progress_) progress_(ProgressPercent(index, total));
  }

  PlaylistFileOutcome outcome = output_ ? PlaylistFileOutcome::Written : PlaylistFileOutcome::Failed;
  if (changedOnly_) outcome = FinishChangedOnly();
  CloseOutput();
  if (settings_.GetDeleteEmptyOutput() && stats_.SongsInPlaylist == 0) {
    try {
      files_.RemoveFile(outputPath_);
    } catch (...) {
    }
    // Counted even when the delete failed: the playlist was empty either way.
    ++stats_.EmptyPlaylistsDeleted;
    outcome = PlaylistFileOutcome::Deleted;
  }
  if (playlistFile_) playlistFile_(playlist, outputPath_, outcome);
  return stats_.SongsInPlaylist;
}

bool ClsPlaylistWriter::WriteTrack(const IITTrack& track) {
  const std::string location = GetTrackLocation(track);
  if (!settings_.IsTrackFormatPublished(location)) {
    ++stats_.WrongFormatSongs;
    return false;
  }
  const SortedSongPath sorted = SortSongPath(fromFolder_.To(location));
  if (sorted.pathClass == SongPathClass::LikelyUnreachable) ++stats_.LikelyUnreachableSongs;
  if (sorted.pathClass == SongPathClass::Unreachable) {
    ++stats_.UnreachableSongs;
    return false;
  }
  if (changedOnly_) {
    pendingLines_.push_back("#EXTINF:" + std::to_string(track.Duration()) + "," + track.Name());
    pendingLines_.push_back(sorted.path);
    pendingSongs_.push_back(sorted.path);
    return true;
  }
  if (!output_) return false;
  const std::int32_t duration = track.Duration();
  const std::string name = track.Name();
  output_->WriteLine("#EXTINF:" + std::to_string(duration) + "," + name);
  output_->WriteLine(sorted.path);
  if (songWritten_) songWritten_(sorted.path);
  return true;
}

std::int16_t ProgressPercent(std::int32_t index, std::int32_t total) {
  if (total <= 0) return 100;
  const double percent = static_cast<double>(index) / total * 100.0;
  // The default rounding mode rounds ties to even, which is what is wanted.
  const double rounded = std::nearbyint(std::clamp(percent, 0.0, 100.0));
  return static_cast<std::int16_t>(rounded);
}

}  // namespace quorvella
