// SPDX-License-Identifier: MIT
#include "app/AppServices.h"

#include "library/LocationMappingStore.h"
#include "library/xml/LibraryLocation.h"
#include "platform/UserFolders.h"
#include "tivo/PyTivoConfig.h"
#include "tivo/TiVoDesktop.h"
#include "tivo/WebAddresses.h"

namespace quorvella {

AppServices::AppServices(std::unique_ptr<Desktop> desktop)
#ifdef _WIN32
    : reg_(registry_), settings_(reg_), desktop_(std::move(desktop)) {}
#else
    : registry_(DefaultRegistryPath()), reg_(registry_), settings_(reg_), desktop_(std::move(desktop)) {}
#endif

std::string AppServices::WatchLockPath() const {
#ifdef _WIN32
  // The registry has no file to put a lock beside; the user's own data folder does.
  return DataFolder() + "\\Quorvella\\watch.lock";
#else
  return registry_.Path() + ".watch.lock";
#endif
}

Settings& AppServices::LoadedSettings() {
  if (!settingsLoaded_) {
    settings_.LoadSettings();
    settingsLoaded_ = true;
  }
  return settings_;
}

std::shared_ptr<IiTunes> AppServices::OpenLibrary(const std::string& path,
                                                  XmlITunes::Reading reading) const {
  // A file the user named is the one wanted: a mistyped name must not quietly
  // open some other library.
  if (!path.empty()) return std::make_shared<XmlITunes>(path, reading, LoadLocationMappings(reg_));
  return OpenITunesLibrary({}, reg_, ProcessEnvironment, reading, LoadLocationMappings(reg_));
}

LibraryLocations AppServices::ReadLibraryLocations(const std::string& path,
                                                   std::string* found) const {
  const std::unique_ptr<XmlITunes> itunes =
      path.empty() ? OpenITunesLibrary({}, reg_) : std::make_unique<XmlITunes>(path);
  if (found != nullptr) *found = itunes->Path();
  const std::shared_ptr<const XmlLibrary> library = itunes->Library();
  LibraryLocations locations;
  locations.musicFolder = library->MusicFolder();
  locations.paths.reserve(library->TrackList().size());
  for (const XmlTrack& track : library->TrackList()) {
    if (track.HasLocation()) locations.paths.emplace_back(track.LocationView());
  }
  return locations;
}

MainServices AppServices::MakeMainServices(MessageBoxes& boxes, EventPump& pump) {
  return MainServices{LoadedSettings(),
                      files_,
                      *desktop_,
                      boxes,
                      pump,
                      [this] { return IsTiVoDesktop23OrLater(reg_); },
                      std::string(Mp3ConversionAddress),
                      CountFormat(),
                      PyTivoShareLookup()};
}

MusicShareLookup AppServices::PyTivoShareLookup() const {
  return [this](const std::string& folder) -> std::optional<MusicShare> {
    const PyTivoConfig config = ReadPyTivoConfig(reg_);
    const PyTivoShare* share = config.ShareHolding(folder);
    if (share == nullptr) return std::nullopt;
    return MusicShare{share->name, share->folder};
  };
}

}  // namespace quorvella
