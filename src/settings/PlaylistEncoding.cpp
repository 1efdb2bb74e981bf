// SPDX-License-Identifier: MIT
#include "settings/PlaylistEncoding.h"

#include "platform/Text.h"

namespace quorvella {

std::string_view PlaylistEncodingName(PlaylistEncoding encoding) {
  return encoding == PlaylistEncoding::Utf8 ? "utf-8" : "ansi";
}

std::optional<PlaylistEncoding> ParsePlaylistEncoding(std::string_view text) {
  const std::string name = LowerAscii(TrimSpaces(text));
  if (name == "ansi") return PlaylistEncoding::Ansi;
  if (name == "utf-8" || name == "utf8") return PlaylistEncoding::Utf8;
  return std::nullopt;
}

}  // namespace quorvella
