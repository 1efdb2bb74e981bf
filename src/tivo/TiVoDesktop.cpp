// SPDX-License-Identifier: MIT
#include "tivo/TiVoDesktop.h"

#include "platform/Text.h"

namespace quorvella {
namespace {

// The first count characters (not bytes) of a UTF-8 text.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t chars = 0; end < text.size() && chars < count; ++chars) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t pos = 0;
  for (std::size_t hit; (hit = text.find(from, pos)) != std::string_view::npos;
       pos = hit + from.size()) {
    out.append(text.substr(pos, hit - pos));
    out.append(to);
  }
  out.append(text.substr(pos));
  return out;
}

}  // namespace

std::string GetTiVoDesktopVersion(const RegUtil& reg) {
  return TrimSpaces(
      reg.RegGetString(Hive::CurrentUser, TiVoDesktopKey, TiVoDesktopVersionValueName));
}

TiVoDesktopRelease GetTiVoDesktopRelease(const RegUtil& reg) {
  return TiVoDesktopReleaseOf(GetTiVoDesktopVersion(reg));
}

bool IsTiVoDesktop23OrLater(const RegUtil& reg) {
  return IsVersion23OrLater(GetTiVoDesktopVersion(reg));
}

// std::string_view compares as unsigned character codes, and UTF-8 keeps the
// order of the code points, so its comparison is the ordinal one.
TiVoDesktopRelease TiVoDesktopReleaseOf(std::string_view version) {
  const std::string trimmed = TrimSpaces(version);
  const std::string_view head = FirstCharacters(trimmed, 4);
  if (head.empty()) return TiVoDesktopRelease::BelowOrAbsent;
  const int order = head.compare("2.3.");
  if (order < 0) return TiVoDesktopRelease::BelowOrAbsent;
  return order == 0 ? TiVoDesktopRelease::Is23 : TiVoDesktopRelease::Above23;
}

bool IsVersion23OrLater(std::string_view version) {
  const std::string trimmed = TrimSpaces(version);
  return !trimmed.empty() && std::string_view(trimmed) >= "2.3";
}

std::string RewordImportantNote(std::string_view note, TiVoDesktopRelease release) {
  if (release != TiVoDesktopRelease::Is23) return std::string(note);
  return ReplaceAll(ReplaceAll(note, "if you are", "since you are"), "then you must", "you must");
}

std::string RewordImportantNote(const RegUtil& reg, std::string_view note) {
  return RewordImportantNote(note, GetTiVoDesktopRelease(reg));
}

}  // namespace quorvella
