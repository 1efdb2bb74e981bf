// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "ui/BrowseForFolder.h"
#include "shell/ShellApi.h"

class QWidget;

namespace quorvella {

class RegUtil;
class Settings;

// The shell's folder browser, file manager and version query as the dialogs
// reach them: the real ones unless a test puts its own in their place.
struct ShellFunctions {
  std::function<std::string(std::string_view initialFolder, QWidget* owner, std::string_view title)>
      browseForFolder = BrowseForFolder;
  std::function<void(const std::string& folder)> openFolderInExplorer = OpenFolderInExplorer;
  std::function<WindowsVersion()> getWindowsVersion = GetWindowsVersion;
};

// What the Options dialog works with.
struct DialogServices {
  Settings& settings;
  const RegUtil& reg;
  FileSystem& files;
  Desktop& desktop;
  ShellFunctions shell{};
  // Where the dialog's message boxes go; null shows real boxes over the
  // dialog.
  MessageBoxes* boxes = nullptr;
};

}  // namespace quorvella
