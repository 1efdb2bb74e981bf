// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella::testing {

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
