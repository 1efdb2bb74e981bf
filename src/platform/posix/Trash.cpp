// SPDX-License-Identifier: MIT
// The freedesktop.org trash through GIO: the user's own trash under the data
// folder (created when missing) for a file on the home folder's mount, the
// mount's .Trash/<uid> or .Trash-<uid> for a file on another one, a free
// name when the trash already holds one of that name, and the information
// file that lets a file manager restore it. A mount without a usable trash,
// and the mounts of the system itself (tmpfs and the like), make the move
// fail instead.
#include "platform/Trash.h"

#include <gio/gio.h>

namespace quorvella {

TrashResult TrashFile(const std::string& path) {
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
