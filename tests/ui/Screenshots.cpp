// SPDX-License-Identifier: MIT
// Pictures of every dialog, tab and question for a person to look at. Runs
// only when QUORVELLA_SCREENSHOTS names the folder to write them to, e.g.
//   QUORVELLA_SCREENSHOTS=build/screenshots QT_QPA_PLATFORM=xcb xvfb-run -a
//   build/tests/ui/ui_tests --gtest_filter='Screenshots.*'
#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "ui/DialogTestSupport.h"
#include "engine/StalePlaylists.h"
#include "settings/MemoryRegistry.h"
#include "settings/PublishedFiles.h"
#include "settings/RegUtil.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"
#include "tivo/Plugin.h"
#include "tivo/TiVoDesktop.h"
#include "ui/FormAbout.h"
#include "ui/FormOptions.h"
#include "ui/FormPickTiVoFolder.h"
#include "ui/FormStalePlaylists.h"
#include "platform/LocalFileSystem.h"

namespace quorvella {
namespace {

using test::Find;

class Screenshots : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* folder = std::getenv("QUORVELLA_SCREENSHOTS");
    if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "QUORVELLA_SCREENSHOTS is not set";
    folder_ = QString::fromUtf8(folder);
    QDir().mkpath(folder_);
  }
  void Save(QWidget& widget, const char* name) {
    widget.show();
    QTest::qWait(50);
    EXPECT_TRUE(widget.grab().save(folder_ + QLatin1Char('/') + QLatin1String(name) + ".png"));
  }
  // Pictures the next message box, then answers it with its default button.
  void SaveNextBox(test::ModalScript& script, const char* name) {
    script.On<QMessageBox>([this, name](QMessageBox& box) {
      Save(box, name);
      QTest::keyClick(&box, Qt::Key_Return);
    });
  }

  QString folder_;
  test::TempEnvironment env_;
  MemoryRegistry registry_;
  RegUtil reg_{registry_};
};

TEST_F(Screenshots, EveryDialog) {
  test::RecordingDesktop desktop;
  FormAbout about(desktop);
  Save(about, "about");

  const std::string music = env_.Folder("Music");
  const std::string long_ = env_.Folder(
      "A rather long folder name/With sub-folders for every year/And one more level for the "
      "playlists of the family");
  env_.Publish("My Music", music);
  env_.Publish("Family", long_);
  reg_.RegSetString(Hive::CurrentUser, TiVoDesktopKey, "Version", "2.3.1");
  FormPickTiVoFolder pick(reg_);
  pick.OrigFolder = music;
  pick.Init();
  Save(pick, "pick-tivo-folder");

  reg_.RegSetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder", long_);
  reg_.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, "flac,ape,shn");
  const std::string plugin = env_.Folder("Plug-in");
  test::TempEnvironment::WriteFile(plugin + "/TDUAP.exe");
  reg_.RegSetString(Hive::LocalMachine, PluginUninstallKey, PluginInstallLocationValueName, plugin);
  Settings settings(reg_);
  settings.LoadSettings();
  LocalFileSystem files;
  FormOptions options(DialogServices{settings, reg_, files, desktop});
  options.Init();
  auto* tabs = Find<QTabWidget>(options, "TabMain");
  Save(options, "options-playlist-folder");
  tabs->setCurrentIndex(1);
  Save(options, "options-file-types");

  // The same dialog as most users see it: no TiVo Desktop 2.3, no plug-in.
  MemoryRegistry plain;
  RegUtil plainReg(plain);
  Settings plainSettings(plainReg);
  plainSettings.LoadSettings();
  FormOptions bare(DialogServices{plainSettings, plainReg, files, desktop});
  bare.Init();
  Save(bare, "options-playlist-folder-bare");
  Find<QTabWidget>(bare, "TabMain")->setCurrentIndex(1);
  Save(bare, "options-file-types-bare");

  // Two stale files, one of them changed by the user since; then none.
  std::vector<PublishedFile> record;
  for (const char* name : {"Road Trip 2019.m3u", "Christmas (old).m3u"}) {
    test::TempEnvironment::WriteFile(music + "/" + name);
    const auto stamp = StampOf(music + "/" + name).value();
    record.push_back({name, 1, stamp.size + (record.empty() ? 0 : 1), stamp.mtimeNs});
  }
  SavePublishedFiles(plain, music, record);
  FormStalePlaylists stale(StaleDialogServices{plain, files, music, {}});
  Save(stale, "remove-stale-playlists");
  FormStalePlaylists none(StaleDialogServices{plain, files, long_, {}});
  Save(none, "remove-stale-playlists-none");

  test::ModalScript script;
  SaveNextBox(script, "question-enhanced-mode");
  QTest::mouseClick(Find<QRadioButton>(bare, "OptEnhMode1"), Qt::LeftButton);
  SaveNextBox(script, "question-unpublished-folder");
  QTest::mouseClick(Find<QPushButton>(bare, "ButOK"), Qt::LeftButton);
  EXPECT_TRUE(script.Finished());
}

}  // namespace
}  // namespace quorvella
