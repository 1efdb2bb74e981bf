// SPDX-License-Identifier: MIT
#include "library/xml/LibraryLocation.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quorvella {
namespace {

// XDG_MUSIC_DIR as the desktop's user-dirs.dirs sets it: a line
// XDG_MUSIC_DIR="$HOME/Music" or with an absolute path. Empty when the file
// or the line is missing, or the entry points at the home folder itself
// (which is how the desktop says the folder is disabled).
std::string MusicDirFromUserDirs(const std::string& home, const Environment& env) {
  std::string config = env("XDG_CONFIG_HOME");
  if (config.empty()) {
    if (home.empty()) return {};
    config = home + "/.config";
  }
  std::ifstream file(config + "/user-dirs.dirs");
  std::string line;
  while (std::getline(file, line)) {
    constexpr std::string_view kPrefix = "XDG_MUSIC_DIR=\"";
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, kPrefix.size(), kPrefix) != 0) continue;
    const std::size_t end = line.find('"', start + kPrefix.size());
    if (end == std::string::npos) continue;
    std::string value = line.substr(start + kPrefix.size(), end - start - kPrefix.size());
    if (value.starts_with("$HOME")) {
      if (home.empty()) return {};
      value = home + value.substr(5);
    }
    while (value.size() > 1 && value.back() == '/') value.pop_back();
    if (!value.starts_with('/') || value == home) return {};
    return value;
  }
  return {};
}

void AddITunesFiles(std::vector<std::string>& out, std::string folder) {
  if (folder.empty()) return;
  if (!folder.ends_with('/')) folder += '/';
  out.push_back(folder + "iTunes/iTunes Library.xml");
  out.push_back(folder + "iTunes/iTunes Music Library.xml");
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string ProcessEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::vector<std::string> ITunesLibraryCandidates(std::string_view givenPath, const RegUtil& reg,
                                                 const Environment& env) {
  std::vector<std::string> found;
  found.emplace_back(givenPath);
  found.push_back(env(LibraryEnvironmentVariable));
  found.push_back(reg.RegGetString(Hive::CurrentUser, LibraryKey, LibraryPathValueName));

  const std::string home = env("HOME");
  if (!home.empty()) AddITunesFiles(found, home + "/Music");
  std::string music = env("XDG_MUSIC_DIR");
  if (music.empty()) music = MusicDirFromUserDirs(home, env);
  AddITunesFiles(found, music);

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

std::string UserMusicFolder(const Environment& env) {
  const std::string home = env("HOME");
  std::string music = env("XDG_MUSIC_DIR");
  if (music.empty()) music = MusicDirFromUserDirs(home, env);
  if (music.empty() && !home.empty()) music = home + "/Music";
  return music;
}

void RememberITunesLibraryPath(const RegUtil& reg, std::string_view path) {
  reg.RegSetString(Hive::CurrentUser, LibraryKey, LibraryPathValueName, path);
}

}  // namespace quorvella
