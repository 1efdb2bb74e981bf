// SPDX-License-Identifier: MIT
// quorvella: the window. Builds the program's services and shows FormMain.
#include <QApplication>

#include "app/AppServices.h"
#include "library/xml/LibraryLocation.h"
#include "tivo/TiVoDesktop.h"
#include "ui/FormMain.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvella"));
  QApplication::setApplicationVersion(QStringLiteral("1.3"));
  QApplication::setDesktopFileName(QStringLiteral("quorvella"));

  using namespace quorvella;
  AppServices app;
  const RegUtil& reg = app.Reg();
  FormMain window(FormMainServices{
      app.GetSettings(), reg, app.Files(), app.GetDesktop(),
      [&reg] { return IsTiVoDesktop23OrLater(reg); },
      [&app](const std::string& path) { return app.OpenLibrary(path); },
      [&reg](const std::string& path) { RememberITunesLibraryPath(reg, path); }});
  window.show();
  return application.exec();
}
