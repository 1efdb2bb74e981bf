// SPDX-License-Identifier: MIT
#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace quorvella {
namespace {

std::string XdgFolder(const Environment& env, const char* variable, std::string_view belowHome) {
  std::string folder = env(variable);
  if (!folder.empty() && folder.front() == '/') return folder;
  const std::string home = HomeFolder(env);
  return home.empty() ? std::string() : home + "/" + std::string(belowHome);
}

std::string MusicFolderFromUserDirs(const Environment& env) {
  const std::string config = ConfigFolder(env);
  if (config.empty()) return {};
  const std::string home = HomeFolder(env);
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

}  // namespace

std::string ProcessEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value != nullptr && *value != '\0') return value;
  if (std::string_view(name) == "HOME") {
    const passwd* user = ::getpwuid(::getuid());
    if (user != nullptr && user->pw_dir != nullptr) return user->pw_dir;
  }
  return {};
}

std::string HomeFolder(const Environment& env) { return env("HOME"); }

std::string ConfigFolder(const Environment& env) {
  return XdgFolder(env, "XDG_CONFIG_HOME", ".config");
}

std::string DataFolder(const Environment& env) {
  return XdgFolder(env, "XDG_DATA_HOME", ".local/share");
}

std::string MusicFolder(const Environment& env) {
  std::string music = env("XDG_MUSIC_DIR");
  if (music.empty()) return MusicFolderFromUserDirs(env);
  while (music.size() > 1 && music.back() == '/') music.pop_back();
  return music;
}

}  // namespace quorvella
