// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace quorvella {

// One file type of the catalogue the Options dialog lists.
struct FileTypeEntry {
  std::string Ext;      // without its dot, lower case as a rule
  bool Checked = true;  // published in Enhanced mode

  friend bool operator==(const FileTypeEntry&, const FileTypeEntry&) = default;
};

// The description shown beside an extension ("MP3 audio files", or the
// extension in upper case followed by " files").
std::string FileTypeDescription(std::string_view ext);

}  // namespace quorvella
