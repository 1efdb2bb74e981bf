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
  quorvella::FormMain window(quorvella::MakeFormMainServices(app));
  window.show();
  return application.exec();
}
