// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What tells one folder from another however it is reached (through links
// too): the device and inode on POSIX, the volume and file index on Windows.
namespace quorvella {

struct FolderIdentity {
  std::uint64_t device = 0;
  std::uint64_t index = 0;
  friend auto operator<=>(const FolderIdentity&, const FolderIdentity&) = default;
};

// The identity of the folder at the path (links followed); nullopt when it
// is no folder or cannot be reached.
std::optional<FolderIdentity> IdentityOfFolder(const std::string& path);

}  // namespace quorvella
