// SPDX-License-Identifier: MIT
// The freedesktop.org trash. A file on the home folder's mount goes straight
// into the user's own trash under the data folder: its information file is
// created under a free name (O_EXCL, or the link that names an unnamed one
// made ahead), then the file is renamed beside it; five system calls, where
// GIO makes about twenty and tries the free names one by one. Everything
// else goes through GIO: folders, the mount's .Trash/<uid> or .Trash-<uid>
// for a file on another one, and any file the direct move could not take
// (which it leaves as it found it). A mount without a usable trash, and the
// mounts of the system itself (tmpfs and the like), make the move fail
// instead.
#include "platform/Trash.h"

#include <fcntl.h>
#include <stdio.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <map>
#include <optional>

#include "platform/posix/SpareFiles.h"

namespace quorvella {
namespace {

// The device of the home folder, looked up once.
const std::optional<dev_t>& HomeDevice() {
  static const std::optional<dev_t> device = []() -> std::optional<dev_t> {
    struct stat home {};
    if (stat(g_get_home_dir(), &home) != 0) return std::nullopt;
    return home.st_dev;
  }();
  return device;
}

// "Mix.m3u" numbered n: "Mix.n.m3u", as GIO names them.
std::string Numbered(const std::string& name, unsigned n) {
  if (n == 0) return name;
  const auto dot = name.find('.');
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on
  // "." + std::to_string(n).
  std::string numbered = name.substr(0, dot);
  numbered += '.';
  numbered += std::to_string(n);
  if (dot != std::string::npos) numbered += name.substr(dot);
  return numbered;
}

std::string InformationText(const std::string& path) {
  gchar* escaped = g_uri_escape_string(path.c_str(), "/", FALSE);
  std::string text = "[Trash Info]\nPath=";
  text += escaped;
  g_free(escaped);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char date[32] = "";
  localtime_r(&now, &local);
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  return text + "\nDeletionDate=" + date + "\n";
}

bool WriteAll(int fd, const std::string& text) {
  return write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

// A new file at path (O_EXCL) holding text; false, with errno set and
// nothing left behind, when it cannot be.
bool CreateWritten(const std::string& path, const std::string& text) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text);
  if (close(fd) == 0 && written) return true;
  unlink(path.c_str());
  errno = EIO;
  return false;
}

// Creates the information file under a free name and returns the name, or
// nullopt. A taken name is followed by numbers doubling from `last`, the
// last one this process found free for that name, so a trash holding many
// files of one name costs a few tries, not one per file.
std::optional<std::string> CreateInformation(const std::string& trash, const std::string& name,
                                             const std::string& text, unsigned& last) {
  // An unnamed file made ahead, written first and then named, so that it
  // shows whole; else each name is tried with a new file.
  struct Spare {
    int fd;
    ~Spare() {
      if (fd >= 0) close(fd);
    }
  } spare{TakeSpareFile(trash + "/info/", SpareUse::TrashInformation)};
  if (spare.fd >= 0 && !WriteAll(spare.fd, text)) return std::nullopt;
  bool madeFolders = false;
  for (unsigned n = last, tries = 0; tries < 40; ++tries) {
    const std::string free = Numbered(name, n);
    const std::string info = trash + "/info/" + free + ".trashinfo";
    if (spare.fd >= 0 ? NameSpareFile(spare.fd, info) : CreateWritten(info, text)) {
      last = n;
      return free;
    }
    if (errno == ENOENT && !madeFolders) {
      madeFolders = true;
      if (g_mkdir_with_parents((trash + "/info").c_str(), 0700) != 0 ||
          g_mkdir_with_parents((trash + "/files").c_str(), 0700) != 0) {
        return std::nullopt;
      }
      continue;
    }
    if (errno != EEXIST) return std::nullopt;
    n = n < 2 ? 2 : n * 2;
  }
  return std::nullopt;
}

std::string HomeTrash() { return std::string(g_get_user_data_dir()) + "/Trash"; }

// Moves a regular file on the home folder's mount into the user's trash.
// False, with nothing changed, when it is not such a file or the move failed.
bool MoveToHomeTrash(const std::string& path) {
  const std::optional<dev_t>& homeDevice = HomeDevice();
  struct stat file {};
  if (!homeDevice || path.empty() || path.front() != '/' || path.back() == '/' ||
      lstat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode) || file.st_dev != *homeDevice) {
    return false;
  }
  const std::string trash = HomeTrash();
  const std::string name = path.substr(path.rfind('/') + 1);
  static std::map<std::string, unsigned> lastFree;
  unsigned& last = lastFree[name];
  const std::string text = InformationText(path);
  for (int tries = 0; tries < 8; ++tries) {
    const auto free = CreateInformation(trash, name, text, last);
    if (!free) return false;
    // Never over a file that the trash holds without its information file:
    // that name is taken too, so the next one is tried.
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, (trash + "/files/" + *free).c_str(),
                  RENAME_NOREPLACE) == 0) {
      return true;
    }
    const int error = errno;
    unlink((trash + "/info/" + *free + ".trashinfo").c_str());
    if (error != EEXIST) return false;
    last = last < 2 ? 2 : last * 2;
  }
  return false;
}

}  // namespace

void PrepareTrash(const std::string& folder, std::size_t count) {
  // The home trash's information files, made ahead as the playlists' files
  // are; the other trashes go through GIO.
  const std::optional<dev_t>& homeDevice = HomeDevice();
  struct stat info {};
  if (homeDevice && stat(folder.c_str(), &info) == 0 && info.st_dev == *homeDevice) {
    PrepareSpareFiles(HomeTrash() + "/info/", count, SpareUse::TrashInformation);
  }
}

TrashResult TrashFile(const std::string& path) {
  if (MoveToHomeTrash(path)) return TrashResult::Moved;
  // The local file system directly: a desktop's own file system modules
  // (and the session bus they would start) have no part in a local file.
  GFile* file = g_vfs_get_file_for_path(g_vfs_get_local(), path.c_str());
  GError* error = nullptr;
  const bool moved = g_file_trash(file, nullptr, &error) != FALSE;
  if (error != nullptr) g_error_free(error);
  g_object_unref(file);
  return moved ? TrashResult::Moved : TrashResult::Failed;
}

}  // namespace quorvella
