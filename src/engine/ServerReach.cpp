// SPDX-License-Identifier: MIT
#include "engine/ServerReach.h"

#include <filesystem>

#include "platform/PathRules.h"

namespace quorvella {
namespace fs = std::filesystem;

std::string NormalizeJoinedPath(std::string_view folder, std::string_view entry) {
  // An absolute entry stands on its own, as os.path.join has it.
  std::string text = (fs::path(folder) / fs::path(entry)).lexically_normal().string();
  if (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

bool IsInsideFolder(std::string_view path, std::string_view root) {
  if (root == "/") return !path.empty() && path.front() == '/';
  return path.starts_with(root) && (path.size() == root.size() || path[root.size()] == '/');
}

ServerReach::ServerReach(std::string playlistFolder, std::optional<MusicShare> share,
                         PlaylistEncoding encoding, int fileCodePage)
    : playlistFolder_(std::move(playlistFolder)),
      share_(std::move(share)),
      encoding_(encoding),
      readCodePage_(share_ ? kPyTivoM3uCodePage : fileCodePage) {
  if (share_) shareRoot_ = NormalizeJoinedPath(share_->path, "");
  if (encoding_ == PlaylistEncoding::Ansi) {
    roundTrip_ = std::make_unique<CodePageRoundTrip>(fileCodePage, readCodePage_);
  }
}

ServerReach::~ServerReach() = default;

bool ServerReach::InShare(std::string_view pathLine) const {
  // Only a folder of this system's own form is served from a share here.
  if (!share_ || DialectOf(playlistFolder_) != PathDialect::Posix) return true;
  return IsInsideFolder(NormalizeJoinedPath(playlistFolder_, pathLine), shareRoot_);
}

bool ServerReach::NameSurvives(std::string_view pathLine) {
  return !roundTrip_ || roundTrip_->Survives(pathLine);
}

void ServerReach::CountWrittenSong(std::string_view pathLine, ServerReachStats& stats) {
  if (!InShare(pathLine)) ++stats.SongsOutsideShare;
  if (!NameSurvives(pathLine)) ++stats.SongsNotInCodePage;
}

}  // namespace quorvella
