// SPDX-License-Identifier: MIT
#include "app/GuiServices.h"

#include "engine/MappingSuggest.h"
#include "library/xml/LibraryLocation.h"
#include "tivo/TiVoDesktop.h"

namespace quorvella {

FormMainServices MakeFormMainServices(AppServices& app, std::string startLibrary) {
  const RegUtil& reg = app.Reg();
  const std::string start = startLibrary;
  FormMainServices services{
      app.GetSettings(),
      reg,
      app.Files(),
      app.GetDesktop(),
      [&reg] { return IsTiVoDesktop23OrLater(reg); },
      // The file is read while the window shows itself and waits to begin
      // its first refresh, which then takes the reading, under the
      // hourglass; a file the user chose is read at once, so that a wrong
      // choice is reported right away.
      [&app, startLibrary = std::move(startLibrary)](const std::string& path) {
        if (path.empty()) return app.OpenLibrary(startLibrary, XmlITunes::Reading::InBackground);
        return app.OpenLibrary(path, XmlITunes::Reading::Now);
      },
      [&reg](const std::string& path) { RememberITunesLibraryPath(reg, path); },
      {},
      {},
      app.PyTivoShareLookup()};
  // The mappings dialog reads the library the window opens: the one it was
  // started on, unless the user chose another.
  services.readLibraryLocations = [&app, start](const std::string& path) {
    return app.ReadLibraryLocations(path.empty() ? start : path);
  };
  services.mappingSearchRoots = [] { return DefaultSearchRoots(); };
  return services;
}

void ReportDamagedSettings(AppServices& app, MessageBoxes& boxes) {
  OptionStore& registry = app.Registry();
  if (const auto damage = registry.Damage()) {
    boxes.Show(Message{DamagedRegistryText(registry.Path(), *damage), MsgIcon::Exclamation,
                       MsgButtons::Ok, MsgAnswer::Ok});
  }
}

void WarnIfOptionsCannotBeKept(AppServices& app, MessageBoxes& boxes) {
  const std::string problem = app.Registry().WriteProblem();
  if (problem.empty()) return;
  boxes.Show(Message{"The options cannot be kept: " + problem +
                         ".\r\n\r\nChanges made in Options last only until Quorvella is closed.",
                     MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
}

}  // namespace quorvella
