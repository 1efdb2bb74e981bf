// SPDX-License-Identifier: MIT
#include "app/AppServices.h"

#include "library/xml/LibraryLocation.h"
#include "tivo/PyTivoConfig.h"
#include "tivo/TiVoDesktop.h"
#include "tivo/WebAddresses.h"

namespace quorvella {

AppServices::AppServices()
    : registry_(DefaultRegistryPath()), reg_(registry_), settings_(reg_) {}

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
  if (!path.empty()) return std::make_shared<XmlITunes>(path, reading);
  return OpenITunesLibrary({}, reg_, ProcessEnvironment, reading);
}

MainServices AppServices::MakeMainServices(MessageBoxes& boxes, EventPump& pump) {
  return MainServices{LoadedSettings(),
                      files_,
                      desktop_,
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
