// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/xml/XmlITunes.h"
#include "platform/UserFolders.h"
#include "settings/RegUtil.h"

namespace quorvella {

// Where the library file the user chose last is remembered (HKEY_CURRENT_USER):
// a key of its own, so that the program's options stay four values.
inline constexpr std::string_view LibraryKey = "Software\\Brenlow Software\\Quorvella\\Library";
inline constexpr std::string_view LibraryPathValueName = "XmlPath";

// The environment variable that names the library file.
inline constexpr const char* LibraryEnvironmentVariable = "QUORVELLA_ITUNES_LIBRARY";

// The files that may be the library, most wanted first, without duplicates:
// the path given (empty for none), the environment variable, the remembered
// path, then "iTunes/iTunes Library.xml" and "iTunes/iTunes Music Library.xml"
// in ~/Music and in the music folder (MusicFolder).
std::vector<std::string> ITunesLibraryCandidates(std::string_view givenPath, const RegUtil& reg,
                                                 const Environment& env = ProcessEnvironment);

// Opens the first candidate that exists. Throws LibraryError when none
// does (saying which files were tried) or when that file cannot be read.
std::unique_ptr<XmlITunes> OpenITunesLibrary(
    std::string_view givenPath, const RegUtil& reg, const Environment& env = ProcessEnvironment,
    XmlITunes::Reading reading = XmlITunes::Reading::Now, LocationMappings mappings = {});

// Remembers a library file the user chose, for the next start.
void RememberITunesLibraryPath(const RegUtil& reg, std::string_view path);

}  // namespace quorvella
