// SPDX-License-Identifier: MIT
#include "settings/StoreWriteProblem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvella {

std::string StoreWriteProblem(const std::string& path) {
  if (path.empty()) return "there is no home folder to keep them in";
  const auto slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? std::string(".")
                      : slash == 0                ? std::string("/")
                                                  : path.substr(0, slash);

  // The store is replaced by a new file on every write, so what counts is the
  // nearest folder that exists: a new file, or the missing folders, are made
  // there. Write and search permission, as the program's own user.
  for (;;) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
      if (!S_ISDIR(info.st_mode)) return "\"" + folder + "\" is not a folder";
      if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return "the folder \"" + folder + "\" cannot be written (" + std::strerror(errno) + ")";
      }
      return {};
    }
    // A missing folder, or a file where a folder should be: look further up.
    const int error = errno;
    const auto up = folder.find_last_of('/');
    const std::string parent = up == std::string::npos ? "." : up == 0 ? "/" : folder.substr(0, up);
    if ((error != ENOENT && error != ENOTDIR) || parent == folder) {
      return "the folder \"" + folder + "\" cannot be reached (" + std::strerror(error) + ")";
    }
    folder = parent;
  }
}

}  // namespace quorvella
