// SPDX-License-Identifier: MIT
#include "tivo/ProcessUser.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvella {

ProcessUser CurrentProcessUser() { return ::geteuid(); }

std::string ProcessUserName(ProcessUser user) {
  if (const passwd* entry = ::getpwuid(user); entry != nullptr) return entry->pw_name;
  std::string number = "#";  // appended, not "#" + ...: GCC 12 warns falsely (-Wrestrict)
  number += std::to_string(user);
  return number;
}

std::optional<ProcessUser> ProcessOwner(const std::filesystem::path& processFolder) {
  struct stat info {};
  if (::stat(processFolder.c_str(), &info) != 0) return std::nullopt;
  return info.st_uid;
}

}  // namespace quorvella
