// SPDX-License-Identifier: MIT
// Pictures of every dialog, tab and question for a person to look at. Runs
// only when QUORVELLA_SCREENSHOTS names the folder to write them to, e.g.
//   QUORVELLA_SCREENSHOTS=build/screenshots QT_QPA_PLATFORM=xcb xvfb-run -a
//   build/tests/ui/ui_tests --gtest_filter='Screenshots.*'
#include <QDir>
#include <QTabWidget>

#include "engine/StalePlaylists.h"
#include "settings/PublishedFiles.h"
#include "tivo/TiVoDesktop.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

using test::Win;

class Screenshots : public test::Windows {
 protected:
  void SetUp() override {
    if (shots_.isEmpty()) GTEST_SKIP() << "QUORVELLA_SCREENSHOTS is not set";
    QDir().mkpath(shots_);
  }
  // Opens a window and pictures it, each of its tabs on its own.
  void Save(Win which, const QString& name, const QString& suffix = {}) {
    QWidget& window = Open(which);
    auto* tabs = window.findChild<QTabWidget*>();
    if (!tabs) return Shoot(window, name + suffix);
    for (const int tab : {0, 1})
      tabs->setCurrentIndex(tab), Shoot(window, name + (tab ? "-file-types" : "-playlist-folder") + suffix);
  }
};

TEST_F(Screenshots, EveryDialog) {
  // As most users see them: no TiVo Desktop 2.3, no plug-in, no folder; and
  // the questions that asks.
  realBoxes_ = true;
  Save(Win::Options, "options", "-bare");
  test::ModalScript script;
  ShootNextBox(script, "question-enhanced-mode");
  QTest::mouseClick(Get<QRadioButton>("OptEnhMode1"), Qt::LeftButton);
  ShootNextBox(script, "question-unpublished-folder");
  Click("ButOK");
  EXPECT_TRUE(script.Finished());
  Save(Win::Stale, "remove-stale-playlists-none");

  // Filled: two stale files, one of them changed by the user since.
  const std::string lists = env_.Folder("Lists");
  std::vector<PublishedFile> record;
  for (const char* name : {"Road Trip 2019.m3u", "Christmas (old).m3u"}) {
    test::TempEnvironment::WriteFile(lists + "/" + name);
    const auto stamp = StampOf(lists + "/" + name).value();
    record.push_back({name, 1, stamp.size + (record.empty() ? 0 : 1), stamp.mtimeNs});
  }
  SavePublishedFiles(registry_, lists, record);
  Save(Win::Stale, "remove-stale-playlists");
  // TiVo Desktop 2.3, two published folders, one with a long name, and the
  // plug-in with three file types of its own.
  const std::string long_ = env_.Folder(
      "A rather long folder name/With sub-folders for every year/And one more level for the playlists of the family");
  env_.Publish("Family", long_);
  StoreEverything();
  reg_.RegSetString(Hive::CurrentUser, TiVoDesktopKey, "Version", "2.3.1");
  reg_.RegSetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder", long_);
  reg_.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, "flac,ape,shn");
  loaded_ = false;
  Save(Win::About, "about");
  Save(Win::Pick, "pick-tivo-folder");
  Save(Win::Options, "options");
}

}  // namespace
}  // namespace quorvella
