// SPDX-License-Identifier: MIT
#include "library/xml/LibraryLocation.h"

#include <algorithm>
#include <filesystem>

#include "platform/NativePath.h"
#include "platform/PathRules.h"

namespace quorvella {
namespace {

// The newer name first, then the one of older versions; with the folder's
// own separator, "\" for a Windows folder.
void AddITunesFiles(std::vector<std::string>& out, std::string folder) {
  if (folder.empty()) return;
  const char separator = SeparatorOf(folder);
  if (folder.back() != separator) folder += separator;
  const std::string itunes = folder + "iTunes" + separator;
  out.push_back(itunes + "iTunes Library.xml");
  out.push_back(itunes + "iTunes Music Library.xml");
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(NativePath(path), error);
}

}  // namespace

std::vector<std::string> ITunesLibraryCandidates(std::string_view givenPath, const RegUtil& reg,
                                                 const Environment& env) {
  std::vector<std::string> found;
  found.emplace_back(givenPath);
  found.push_back(env(LibraryEnvironmentVariable));
  found.push_back(reg.RegGetString(Hive::CurrentUser, LibraryKey, LibraryPathValueName));

  const std::string home = HomeFolder(env);
  if (!home.empty()) AddITunesFiles(found, home + SeparatorOf(home) + "Music");
  AddITunesFiles(found, MusicFolder(env));

  std::vector<std::string> candidates;
  for (std::string& path : found) {
    if (path.empty() || std::find(candidates.begin(), candidates.end(), path) != candidates.end()) {
      continue;
    }
    candidates.push_back(std::move(path));
  }
  return candidates;
}

std::unique_ptr<XmlITunes> OpenITunesLibrary(std::string_view givenPath, const RegUtil& reg,
                                             const Environment& env, XmlITunes::Reading reading,
                                             LocationMappings mappings) {
  const std::vector<std::string> candidates = ITunesLibraryCandidates(givenPath, reg, env);
  for (const std::string& path : candidates) {
    if (IsFile(path)) return std::make_unique<XmlITunes>(path, reading, std::move(mappings));
  }
  std::string message = "No iTunes library file was found.";
  if (!candidates.empty()) {
    message += " These files were looked for:";
    for (const std::string& path : candidates) message += "\n" + path;
  }
  throw LibraryError(message);
}

void RememberITunesLibraryPath(const RegUtil& reg, std::string_view path) {
  reg.RegSetString(Hive::CurrentUser, LibraryKey, LibraryPathValueName, path);
}

}  // namespace quorvella
