// SPDX-License-Identifier: MIT
#include "shell/QtDesktop.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/ProgramStart.h"
#include "platform/Text.h"

namespace quorvella {

void QtDesktop::ShellOpen(const std::string& target) {
  const std::string trimmed = TrimSpaces(target);
  if (trimmed.empty()) return;
  const QString text = QString::fromStdString(trimmed);
  // An absolute path is a file even when it holds characters that would
  // mean something in an address ("#", "?").
  const QUrl url = trimmed.front() == '/' ? QUrl::fromLocalFile(text) : QUrl::fromUserInput(text);
  QDesktopServices::openUrl(url);
}

std::optional<std::string> QtDesktop::StartProgram(const std::string& commandLine) {
  return StartCommandLine(commandLine);
}

}  // namespace quorvella
