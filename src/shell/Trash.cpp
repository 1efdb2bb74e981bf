// SPDX-License-Identifier: MIT
#include "shell/Trash.h"

#include <unistd.h>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quorvella {
namespace {

std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Undoes a move that did not end in a trash can: the file goes back to where
// it was, and the information file written beside the wrong place, which
// would describe a file that is not there, goes away.
void PutBack(const QString& original, const QString& misplaced) {
  if (QFileInfo::exists(original) || !QFile::rename(misplaced, original)) return;
  const QFileInfo moved(misplaced);
  const QString info = moved.dir().absoluteFilePath(
      QStringLiteral("../info/") + moved.fileName() + QStringLiteral(".trashinfo"));
  QFile infoFile(info);
  if (infoFile.open(QIODevice::ReadOnly) && infoFile.read(12) == "[Trash Info]") {
    infoFile.close();
    infoFile.remove();
  }
}

}  // namespace

bool IsInTrashFiles(std::string_view path, unsigned uid) {
  if (path.empty() || path.front() != '/') return false;
  const std::vector<std::string_view> parts = Components(path);
  // The can, "files", and the trashed name directly inside.
  const std::size_t n = parts.size();
  if (n < 3 || parts[n - 2] != "files") return false;
  const std::string userId = std::to_string(uid);
  const std::string_view can = parts[n - 3];
  if (can == "Trash" || can == ".Trash-" + userId) return true;
  return can == userId && n >= 4 && parts[n - 4] == ".Trash";
}

TrashResult MoveFileToTrash(const std::string& path) {
  const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (!dataHome.isEmpty()) QDir().mkpath(dataHome);

  const QString original = QString::fromStdString(path);
  QFile file(original);
  if (!file.moveToTrash()) return TrashResult::Failed;
  const QString moved = file.fileName();
  if (IsInTrashFiles(moved.toStdString(), static_cast<unsigned>(::getuid()))) {
    return TrashResult::Moved;
  }
  PutBack(original, moved);
  return TrashResult::Failed;
}

}  // namespace quorvella
