// SPDX-License-Identifier: MIT
// The window over the program's real services: the library file given on
// its command line, and the warnings at its start about the file of options.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPushButton>  // before DialogTestSupport.h, which clicks buttons
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <optional>

#include "app/GuiServices.h"
#include "bench/LibraryGenerator.h"
#include "bench/LibraryXml.h"
#include "library/xml/LibraryLocation.h"
#include "ui/DialogTestSupport.h"

namespace quorvella {
namespace {

class WindowStartTest : public ::testing::Test {
 protected:
  test::TempEnvironment env_;
};

TEST_F(WindowStartTest, TheLibraryGivenAtStartIsListedAndNotRemembered) {
  const std::string library = env_.Folder("library") + "/iTunes Library.xml";
  std::string error;
  ASSERT_TRUE(WriteLibraryXmlFile(GenerateLibrary({.Seed = 11, .Tracks = 30, .Playlists = 3, .SongsPerPlaylist = 5,
                                                   .MusicRoot = env_.Folder("music")}), library, error)) << error;
  AppServices app;
  // Without the file given, the window would open the remembered one, which
  // is gone, and list nothing.
  RememberITunesLibraryPath(app.Reg(), "/nowhere/iTunes Library.xml");
  test::ModalScript script;
  FormMain window(MakeFormMainServices(app, library));
  window.show();
  auto* list = window.findChild<QTreeWidget*>(QStringLiteral("ListPlaylists"));
  ASSERT_NE(list, nullptr);
  // Qt's QTRY_ macros only return from the test when they fail, which
  // GoogleTest does not count as a failure.
  QElapsedTimer timer;
  timer.start();
  while (list->topLevelItemCount() == 0 && timer.elapsed() < 5000) QTest::qWait(10);
  ASSERT_GT(list->topLevelItemCount(), 0);
  EXPECT_EQ(script.unexpected, 0);
  EXPECT_EQ(app.Reg().RegGetString(Hive::CurrentUser, LibraryKey, LibraryPathValueName), "/nowhere/iTunes Library.xml");
}

// The start's warnings about the file of options, one box each: a damaged
// file, and a folder where the options cannot be kept.
TEST_F(WindowStartTest, OnlyADamagedOrUnwritableStoreIsReported) {
  const auto config = env_.Root() / "config";
  const std::string store = (config / "Quorvella" / "registry.reg").string();
  const std::string header = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software";
  struct Case {
    const char* what;
    std::optional<std::string> content;
    bool configIsAFile, reported;
  };  // content: none, no file
  const Case cases[] = {{"empty file", "", false, false},
                        {"sound file", header + "]\n\"A\"=\"1\"\n", false, false},
                        {"damaged file", header + "\n", false, true},
                        {"configuration folder is a file", std::nullopt, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(config);
    if (c.configIsAFile) std::ofstream(config) << "not a folder";
    else std::filesystem::create_directories(config / "Quorvella");
    if (c.content) std::ofstream(store, std::ios::binary) << *c.content;
    AppServices app;
    test::ScriptedBoxes boxes;
    ReportDamagedSettings(app, boxes);
    WarnIfOptionsCannotBeKept(app, boxes);
    ASSERT_EQ(boxes.shown.size(), c.reported ? 1u : 0u);
    if (!c.reported) continue;
    // The damage's wording and where it lies are the store's.
    const std::string text = c.configIsAFile ? "The options cannot be kept: \"" + config.string() +
                                                   "\" is not a folder.\r\n\r\n"
                                                   "Changes made in Options last only until Quorvella is closed."
                                             : DamagedRegistryText(store, *app.Registry().Damage());
    EXPECT_EQ(boxes.shown[0], (Message{text, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok}));
  }
}

}  // namespace
}  // namespace quorvella
