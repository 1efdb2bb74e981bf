// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "engine/MainController.h"
#include "engine/MappingCheck.h"
#include "library/xml/XmlITunes.h"
#ifdef _WIN32
#include "settings/windows/WindowsRegistry.h"
#else
#include "settings/FileRegistry.h"
#endif
#include "settings/RegUtil.h"
#include "settings/Settings.h"
#include "platform/LocalDesktop.h"
#include "platform/LocalFileSystem.h"

namespace quorvella {

// The program's real services, built once by each front end: the registry
// file, the options, the file system, the desktop and the library. Plain
// C++, so that the command line runs without Qt; the window brings its own
// desktop.
class AppServices {
 public:
  explicit AppServices(std::unique_ptr<Desktop> desktop = std::make_unique<LocalDesktop>());

  const RegUtil& Reg() const { return reg_; }
  // Where the options are kept: the registry on Windows, a .reg file elsewhere.
  OptionStore& Registry() { return registry_; }
  // The lock file that keeps one watch per store of options.
  std::string WatchLockPath() const;
  Settings& GetSettings() { return settings_; }
  // The options, read from the registry on the first call.
  Settings& LoadedSettings();
  FileSystem& Files() { return files_; }
  Desktop& GetDesktop() { return *desktop_; }

  // Opens the iTunes library at a path, or finds it when the path is empty;
  // the file is read now or at its first use, its locations carried through
  // the stored mappings.
  std::shared_ptr<IiTunes> OpenLibrary(const std::string& path,
                                       XmlITunes::Reading reading = XmlITunes::Reading::Now) const;
  // Reads the library's track locations as the file gives them, without the
  // mappings; `found` receives the library file's path. Throws LibraryError.
  LibraryLocations ReadLibraryLocations(const std::string& path, std::string* found = nullptr) const;

  // The services of the main window's logic; the options are loaded first.
  MainServices MakeMainServices(MessageBoxes& boxes, EventPump& pump);
  // The pyTivo music share that holds a folder, read afresh at each call.
  MusicShareLookup PyTivoShareLookup() const;

 private:
#ifdef _WIN32
  WindowsRegistry registry_;
#else
  FileRegistry registry_;
#endif
  RegUtil reg_;
  Settings settings_;
  bool settingsLoaded_ = false;
  LocalFileSystem files_;
  std::unique_ptr<Desktop> desktop_;
};

}  // namespace quorvella
