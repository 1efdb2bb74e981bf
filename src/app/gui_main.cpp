// SPDX-License-Identifier: MIT
// quorvella: the window. Builds the program's services and shows FormMain.
#include <QApplication>

#include "app/GuiServices.h"
#include "shell/QtDesktop.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvella"));
  QApplication::setApplicationVersion(QStringLiteral("1.3"));
  QApplication::setDesktopFileName(QStringLiteral("quorvella"));

  quorvella::AppServices app(std::make_unique<quorvella::QtDesktop>());
  // Before the window, so that its start (the first refresh) does not run
  // under the box.
  quorvella::QtMessageBoxes boxes;
  quorvella::ReportDamagedSettings(app, boxes);
  quorvella::FormMain window(quorvella::MakeFormMainServices(app));
  window.show();
  return application.exec();
}
