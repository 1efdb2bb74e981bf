// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "settings/RegUtil.h"

// What the installed TiVo Desktop's version says. Every call reads the
// registry afresh: nothing is cached.
namespace quorvella {

// Where TiVo Desktop leaves its version (HKEY_CURRENT_USER).
inline constexpr std::string_view TiVoDesktopKey = "Software\\TiVo\\Desktop";
inline constexpr std::string_view TiVoDesktopVersionValueName = "Version";

// The class of the installed version, from its first four characters.
// Callers only ever ask whether it is Is23.
enum class TiVoDesktopRelease { BelowOrAbsent = 0, Is23 = 1, Above23 = 2 };

// The trimmed version text; empty when TiVo Desktop left none.
std::string GetTiVoDesktopVersion(const RegUtil& reg);
TiVoDesktopRelease GetTiVoDesktopRelease(const RegUtil& reg);
bool IsTiVoDesktop23OrLater(const RegUtil& reg);

// The same answers for a version text already read. Versions are compared
// ordinally, character code by character code, never as numbers: "2.30"
// sorts after "2.3." and "10.0" before "2.3".
TiVoDesktopRelease TiVoDesktopReleaseOf(std::string_view version);
bool IsVersion23OrLater(std::string_view version);

// The "Important note" caption both folder dialogs show before rewording it.
inline constexpr const char* ImportantNoteCaption =
    "Important note: if you are running TiVo Desktop 2.3, then you must select a folder which "
    "both:";

// The dialogs' "Important note" worded for the installed release: for a 2.3
// release "if you are" becomes "since you are" and "then you must" becomes
// "you must"; any other release leaves the note as it is.
std::string RewordImportantNote(std::string_view note, TiVoDesktopRelease release);
std::string RewordImportantNote(const RegUtil& reg, std::string_view note);

}  // namespace quorvella
