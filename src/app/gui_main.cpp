// SPDX-License-Identifier: MIT
// quorvella: the window. Builds the program's services and shows FormMain,
// on the library file named on the command line when there is one (as the
// desktop's menu entry passes a file it is asked to open).
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/GuiServices.h"
#include "platform/Heap.h"
#include "shell/QtDesktop.h"
#include "ui/Artwork.h"
#include "ui/QtMessageBoxes.h"

namespace {

constexpr const char* kHelp =
    "Usage: quorvella [FILE]\n"
    "\n"
    "Opens the window with the playlists of an iTunes library, to publish them to a\n"
    "TiVo box. FILE is the iTunes library file (XML) to open for this run instead\n"
    "of the one it finds (the manual page quorvella(1) says where it looks).\n"
    "\n"
    "Options:\n"
    "  --version   Shows the program's version.\n"
    "  -h, --help  Shows this help.\n";

}  // namespace

int main(int argc, char** argv) {
  quorvella::ShareOneHeap();
  // Answered before the window system is opened, so that they work without
  // a display.
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg == "--version") {
      std::puts("quorvella 1.3");
      return 0;
    }
    if (arg == "-h" || arg == "--help") {
      std::fputs(kHelp, stdout);
      return 0;
    }
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvella"));
  QApplication::setApplicationVersion(QStringLiteral("1.3"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.quorvella.Quorvella"));
  // Every dialog and message box shows the program's icon, as the window does.
  QApplication::setWindowIcon(quorvella::ProgramIcon());

  // What Qt's own options (-platform, -style) leave.
  QCommandLineParser parser;
  if (!parser.parse(QApplication::arguments()) || parser.positionalArguments().size() > 1) {
    const QString error = parser.errorText().isEmpty()
                              ? QStringLiteral("only one library file can be opened")
                              : parser.errorText();
    std::fprintf(stderr, "quorvella: %s\nRun 'quorvella --help' for its usage.\n",
                 qUtf8Printable(error));
    return 2;
  }
  std::string startLibrary;
  if (!parser.positionalArguments().isEmpty()) {
    // The window's messages name the file the user meant, from any folder.
    startLibrary = QFileInfo(parser.positionalArguments().front()).absoluteFilePath().toStdString();
  }

  quorvella::AppServices app(std::make_unique<quorvella::QtDesktop>());
  // Before the window, so that its start (the first refresh) does not run
  // under the boxes.
  quorvella::QtMessageBoxes boxes;
  quorvella::ReportDamagedSettings(app, boxes);
  quorvella::WarnIfOptionsCannotBeKept(app, boxes);
  quorvella::FormMain window(quorvella::MakeFormMainServices(app, std::move(startLibrary)));
  window.show();

  // Lets a test start the installed program and see it reach its event loop
  // and end by itself.
  bool timed = false;
  const int quitAfter = qEnvironmentVariableIntValue("QUORVELLA_QUIT_AFTER_START", &timed);
  if (timed && quitAfter >= 0) QTimer::singleShot(quitAfter, [] { QCoreApplication::exit(0); });
  return application.exec();
}
