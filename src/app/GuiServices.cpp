// SPDX-License-Identifier: MIT
#include "app/GuiServices.h"

#include "library/xml/LibraryLocation.h"
#include "tivo/TiVoDesktop.h"

namespace quorvella {

FormMainServices MakeFormMainServices(AppServices& app) {
  const RegUtil& reg = app.Reg();
  return FormMainServices{
      app.GetSettings(),
      reg,
      app.Files(),
      app.GetDesktop(),
      [&reg] { return IsTiVoDesktop23OrLater(reg); },
      [&app](const std::string& path) { return app.OpenLibrary(path); },
      [&reg](const std::string& path) { RememberITunesLibraryPath(reg, path); }};
}

}  // namespace quorvella
