// SPDX-License-Identifier: MIT
#include "settings/FileTypeCatalogue.h"

#include <algorithm>

#include "settings/RegistryKeys.h"
#include "settings/Settings.h"
#include "platform/Text.h"

namespace quorvella {
namespace {

// The four types every TiVo server setup knows, in the order they are listed.
constexpr std::string_view kFixedTypes[] = {"mp3", "aac", "wma", "ogg"};

}  // namespace

std::string FileTypeDescription(std::string_view ext) {
  static constexpr std::pair<std::string_view, std::string_view> kDescriptions[] = {
      {"aac", "Protected (.M4A and .M4B) files"},
      {"ape", "Monkey's Audio files"},
      {"flac", "FLAC (Free Lossless Audio Codec) files"},
      {"mp3", "MP3 audio files"},
      {"ogg", "Ogg Vorbis files"},
      {"shn", "SHN (Shorten) files"},
      {"wma", "Windows Media files"},
  };
  for (const auto& [known, description] : kDescriptions) {
    if (ext == known) return std::string(description);
  }
  return UpperCase(ext) + " files";
}

void Settings::BuildFileTypeCatalogue() {
  fileTypes_.clear();
  for (const auto ext : kFixedTypes) AddFileType(ext);
  // The plug-in's extra extensions; pieces keep any blanks around them.
  const std::string custom =
      reg_.RegGetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName);
  if (custom.empty()) return;
  std::size_t start = 0;
  while (true) {
    const auto comma = custom.find(',', start);
    AddFileType(LowerCase(std::string_view(custom).substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

void Settings::AddFileType(std::string_view ext) {
  if (std::any_of(fileTypes_.begin(), fileTypes_.end(),
                  [&](const FileTypeEntry& e) { return e.Ext == ext; })) {
    return;
  }
  // An extension counts as unchecked wherever its "+"-enclosed form occurs in
  // the stored text, however the items are separated.
  std::string item = "+";
  item += ext;
  item += '+';
  const bool unchecked = GetUncheckedExts().find(item) != std::string::npos;
  fileTypes_.push_back(FileTypeEntry{std::string(ext), !unchecked});
}

bool Settings::IsFileTypeChecked(std::string_view ext) const {
  for (const auto& entry : fileTypes_) {
    if (entry.Ext == ext) return entry.Checked;
  }
  return false;
}

void Settings::SetFileTypeChecked(std::string_view ext, bool checked) {
  auto it = std::find_if(fileTypes_.begin(), fileTypes_.end(),
                         [&](const FileTypeEntry& e) { return e.Ext == ext; });
  if (it == fileTypes_.end()) {
    fileTypes_.push_back(FileTypeEntry{std::string(ext), checked});
  } else {
    it->Checked = checked;
  }
  SaveUncheckedExts();
}

void Settings::SaveUncheckedExts() {
  std::string text;
  for (const auto& entry : fileTypes_) {
    if (entry.Checked) continue;
    text += '+';
    text += LowerCase(entry.Ext);
    text += "+ ";
  }
  SetUncheckedExts(TrimSpaces(text));
}

bool Settings::IsFileTypePublished(std::string_view ext) const {
  if (!enhancedPlugInMode_) return ext == "mp3";
  return IsFileTypeChecked(ext);
}

bool Settings::IsTrackFormatPublished(std::string_view location) const {
  const auto dot = location.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string ext = LowerCase(location.substr(dot + 1));
  if (ext == "m4b" || ext == "m4a") ext = "aac";
  return IsFileTypePublished(ext);
}

}  // namespace quorvella
