// SPDX-License-Identifier: MIT
// The window over the program's real services: the library file given on
// its command line, and the warning when the options cannot be kept.
#include <gtest/gtest.h>

#include <QPushButton>  // before DialogTestSupport.h, which clicks buttons
#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <functional>

#include "app/GuiServices.h"
#include "bench/LibraryGenerator.h"
#include "bench/LibraryXml.h"
#include "library/xml/LibraryLocation.h"
#include "ui/DialogTestSupport.h"

namespace quorvella {
namespace {

// Lets the window work until `done` holds or five seconds have passed. (Qt's
// QTRY_ macros only return from the test when they fail, which GoogleTest
// does not count as a failure.)
bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 5000) QTest::qWait(10);
  return done();
}

class WindowStartTest : public ::testing::Test {
 protected:
  std::string MakeLibrary() {
    LibraryOptions options;
    options.Seed = 11;
    options.Tracks = 30;
    options.Playlists = 3;
    options.SongsPerPlaylist = 5;
    options.MusicRoot = env_.Folder("music");
    const std::string path = env_.Folder("library") + "/iTunes Library.xml";
    std::string error;
    EXPECT_TRUE(WriteLibraryXmlFile(GenerateLibrary(options), path, error)) << error;
    return path;
  }
  std::string Remembered(const AppServices& app) const {
    return app.Reg().RegGetString(Hive::CurrentUser, LibraryKey, LibraryPathValueName);
  }

  test::TempEnvironment env_;
};

TEST_F(WindowStartTest, TheLibraryGivenAtStartIsListedAndNotRemembered) {
  const std::string library = MakeLibrary();
  AppServices app;
  // Without the file given, the window would open the remembered one, which
  // is gone, and list nothing.
  RememberITunesLibraryPath(app.Reg(), "/nowhere/iTunes Library.xml");
  test::ModalScript script;
  FormMain window(MakeFormMainServices(app, library));
  window.show();
  auto* list = window.findChild<QTreeWidget*>(QStringLiteral("ListPlaylists"));
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(WaitFor([list] { return list->topLevelItemCount() > 0; }));
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(Remembered(app), "/nowhere/iTunes Library.xml");
}

TEST_F(WindowStartTest, OptionsThatCannotBeKeptAreReportedOnce) {
  {
    AppServices app;
    test::ScriptedBoxes boxes;
    WarnIfOptionsCannotBeKept(app, boxes);
    EXPECT_TRUE(boxes.shown.empty()) << "a writable folder is not reported";
  }
  const auto config = env_.Root() / "config";
  std::filesystem::remove_all(config);
  std::ofstream(config) << "not a folder";
  AppServices app;
  test::ScriptedBoxes boxes;
  WarnIfOptionsCannotBeKept(app, boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0],
            (Message{"The options cannot be kept: \"" + config.string() +
                         "\" is not a folder.\r\n\r\nChanges made in Options last only until "
                         "Quorvella is closed.",
                     MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok}));
}

}  // namespace
}  // namespace quorvella
