// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/NativePath.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella::testing {

// The bytes into the file named by a UTF-8 path, on every system.
inline void WriteFile(const std::string& path, std::string_view content) {
  WriteBytes(NativePath(path), content);
}

// Replaces the file the way iTunes does: a new file renamed over the old
// (std::filesystem's rename replaces on Windows too; std::rename does not).
inline void ReplaceFile(const std::string& path, std::string_view content) {
  WriteFile(path + ".new", content);
  std::filesystem::rename(NativePath(path + ".new"), NativePath(path));
}

// A library file around the given entries of its Tracks dictionary and its
// Playlists array.
inline std::string LibraryXml(std::string_view tracks, std::string_view playlists) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n<dict>\n"
      "<key>Major Version</key><integer>1</integer>\n"
      "<key>Tracks</key>\n<dict>\n";
  xml += tracks;
  xml += "</dict>\n<key>Playlists</key>\n<array>\n";
  xml += playlists;
  xml += "</array>\n</dict>\n</plist>\n";
  return xml;
}

// One entry of the Tracks dictionary; `body` holds the keys after Track ID.
inline std::string TrackXml(int id, std::string_view body) {
  const std::string number = std::to_string(id);
  return "<key>" + number + "</key><dict><key>Track ID</key><integer>" + number + "</integer>" +
         std::string(body) + "</dict>\n";
}

}  // namespace quorvella::testing
