// SPDX-License-Identifier: MIT
#include "tivo/ProcessUser.h"

#include <sys/stat.h>
#include <unistd.h>

namespace quorvella {

ProcessUser CurrentProcessUser() { return ::geteuid(); }

std::optional<ProcessUser> ProcessOwner(const std::filesystem::path& processFolder) {
  struct stat info {};
  if (::stat(processFolder.c_str(), &info) != 0) return std::nullopt;
  return info.st_uid;
}

}  // namespace quorvella
