// SPDX-License-Identifier: MIT
#include "app/GuiServices.h"

#include "engine/MappingSuggest.h"
#include "library/xml/LibraryLocation.h"
#include "tivo/TiVoDesktop.h"

namespace quorvella {

FormMainServices MakeFormMainServices(AppServices& app) {
  const RegUtil& reg = app.Reg();
  FormMainServices services{
      app.GetSettings(),
      reg,
      app.Files(),
      app.GetDesktop(),
      [&reg] { return IsTiVoDesktop23OrLater(reg); },
      // The file is read by the first refresh, under the hourglass, once the
      // window is showing; a file the user chose is read at once, so that a
      // wrong choice is reported right away.
      [&app](const std::string& path) {
        return app.OpenLibrary(path, path.empty() ? XmlITunes::Reading::OnFirstUse
                                                  : XmlITunes::Reading::Now);
      },
      [&reg](const std::string& path) { RememberITunesLibraryPath(reg, path); }};
  services.readLibraryLocations = [&app](const std::string& path) {
    return app.ReadLibraryLocations(path);
  };
  services.mappingSearchRoots = [] { return DefaultSearchRoots(UserMusicFolder()); };
  return services;
}

}  // namespace quorvella
