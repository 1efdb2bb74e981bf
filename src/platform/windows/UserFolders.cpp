// SPDX-License-Identifier: MIT
// On Windows the user's folders are the profile (USERPROFILE), the roaming
// application data (APPDATA) for configuration, the local application data
// (LOCALAPPDATA) for data, and the Music folder as the shell reports it.
#include "platform/UserFolders.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <cstring>
#include <string_view>

#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) folder = WideToUtf8(path);
  CoTaskMemFree(path);
  return folder;
}

std::string WithoutTrailingSeparator(std::string folder) {
  // "C:\" keeps its separator: without it, it names the drive's current folder.
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

}  // namespace

std::string ProcessEnvironment(const char* name) {
  const std::wstring wideName = Utf8ToWide(name);
  const wchar_t* value = _wgetenv(wideName.c_str());
  if (value != nullptr && *value != L'\0') return WideToUtf8(value);
  // A program started by a service may have none of these set.
  const std::string_view variable(name);
  if (variable == "USERPROFILE") return KnownFolder(FOLDERID_Profile);
  if (variable == "APPDATA") return KnownFolder(FOLDERID_RoamingAppData);
  if (variable == "LOCALAPPDATA") return KnownFolder(FOLDERID_LocalAppData);
  return {};
}

std::string HomeFolder(const Environment& env) { return WithoutTrailingSeparator(env("USERPROFILE")); }

std::string ConfigFolder(const Environment& env) { return WithoutTrailingSeparator(env("APPDATA")); }

std::string DataFolder(const Environment& env) {
  return WithoutTrailingSeparator(env("LOCALAPPDATA"));
}

std::string MusicFolder(const Environment&) {
  // The shell knows where the user moved it; no variable says so.
  return WithoutTrailingSeparator(KnownFolder(FOLDERID_Music));
}

}  // namespace quorvella
