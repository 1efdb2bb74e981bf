// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/RegistryBackend.h"

namespace quorvella {

// One playlist file the program wrote, as it was right after writing: only a
// file that still looks like this is the program's to remove.
struct PublishedFile {
  std::string name;            // the file name in the playlist folder
  std::int32_t playlistId = 0;  // the playlist that wrote it
  std::uint64_t size = 0;
  std::int64_t mtimeNs = 0;  // modification time, nanoseconds since the epoch

  friend bool operator==(const PublishedFile&, const PublishedFile&) = default;
};

// The key under the program's own key that keeps, per playlist folder (the
// value's name), the files written there.
inline constexpr std::string_view PublishedFilesKey =
    "Software\\Brenlow Software\\Quorvella\\Published Files";

// The record of a folder; empty when there is none or it does not read.
std::vector<PublishedFile> LoadPublishedFiles(RegistryBackend& store, std::string_view folder);
// Replaces the record of a folder; false when the store could not be written.
bool SavePublishedFiles(RegistryBackend& store, std::string_view folder,
                        const std::vector<PublishedFile>& files);

// Drops a file name from a record.
void ForgetPublishedFile(std::vector<PublishedFile>& record, std::string_view name);

}  // namespace quorvella
