// SPDX-License-Identifier: MIT
#include "platform/FolderIdentity.h"

#include <sys/stat.h>

namespace quorvella {

std::optional<FolderIdentity> IdentityOfFolder(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return FolderIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace quorvella
