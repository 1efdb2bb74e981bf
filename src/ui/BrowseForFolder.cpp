// SPDX-License-Identifier: MIT
#include "ui/BrowseForFolder.h"

#include <QFileDialog>

#include "platform/Text.h"
#include "shell/ShellApi.h"

namespace quorvella {

std::string PrepareBrowseFolder(std::string_view initialFolder) {
  return TrimSpaces(RemoveTrailingBackslash(TrimSpaces(initialFolder)));
}

QString BrowseFolderTitle(std::string_view title) {
  const std::string_view shown =
      TrimSpaces(title).empty() ? std::string_view("Please select a &folder:") : title;
  // A file dialog's title has no access key: drop the marker, keep "&&" as "&".
  std::string text;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == '&' && i + 1 < shown.size()) ++i;
    text += shown[i];
  }
  return QString::fromStdString(text);
}

std::string BrowseForFolder(std::string_view initialFolder, QWidget* owner,
                            std::string_view title) {
  const std::string prepared = PrepareBrowseFolder(initialFolder);
  const QString chosen = QFileDialog::getExistingDirectory(
      owner, BrowseFolderTitle(title), QString::fromStdString(prepared));
  if (chosen.isEmpty()) return prepared;
  return chosen.toStdString();
}

}  // namespace quorvella
