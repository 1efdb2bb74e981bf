// SPDX-License-Identifier: MIT
#include "shell/QtDesktop.h"

#include <sys/stat.h>

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/Text.h"

namespace quorvella {
namespace {

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace

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
  return StartDetached(SplitCommandLine(commandLine, IsFile));
}

std::optional<std::string> StartDetached(const CommandLine& command) {
  QStringList arguments;
  for (const auto& argument : command.arguments) arguments << QString::fromStdString(argument);
  QProcess process;
  process.setProgram(QString::fromStdString(command.program));
  process.setArguments(arguments);
  if (process.startDetached()) return std::nullopt;
  return process.errorString().toStdString();
}

}  // namespace quorvella
