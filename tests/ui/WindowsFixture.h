// SPDX-License-Identifier: MIT
#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <memory>

#include "platform/LocalFileSystem.h"
#include "settings/FileRegistry.h"
#include "settings/RegUtil.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"
#include "support/FakeLibrary.h"
#include "tivo/Plugin.h"
#include "ui/DialogTestSupport.h"
#include "ui/FormAbout.h"
#include "ui/FormMain.h"
#include "ui/FormOptions.h"
#include "ui/FormPickTiVoFolder.h"
#include "ui/FormStalePlaylists.h"

namespace quorvella::test {

enum class Win { Main, Options, Pick, About, Stale };

inline const char* Name(Win w) {
  static const char* const names[] = {"main window", "Options", "Pick TiVo Folder", "About", "Remove Stale Playlists"};
  return names[static_cast<int>(w)];
}

// Each window of the program over a registry file in private XDG folders,
// the real file system in temporary folders, a recording desktop, scripted
// message boxes (or real ones), a library with the playlist "Mix", and
// shell functions that record what they are asked.
class Windows : public ::testing::Test {
 protected:
  Windows() { library_->AddPlaylist("Mix"); }

  ShellFunctions Shell() {
    ShellFunctions shell;
    shell.browseForFolder = [this](std::string_view initial, QWidget* owner, auto title) {
      EXPECT_NE(owner, nullptr) << "the browser has an owner";
      return browsed_.emplace_back(initial, title), browseResult_;
    };
    shell.openFolderInExplorer = [this](const std::string& folder) { explored_.push_back(folder); };
    shell.getWindowsVersion = [this] { return windowsVersion_; };
    return shell;
  }

  // Opens a window, shown and active: the main window once its start-up
  // timer (made immediate once it is active) has listed the library, and without its update
  // check unless updateCheck_ is set. The settings are loaded once, as the
  // program does at start-up.
  QWidget& Open(Win which) {
    window_.reset();
    if (!loaded_) settings_.LoadSettings();
    loaded_ = true;
    if (which == Win::Main) {
      FormMainServices services{settings_, reg_, files_, desktop_, [this] { return tivo23_; }, openLibrary_,
                                [this](const std::string& path) { remembered_ = path; }};
      services.shell = Shell();
      services.programFolder = [this] { return programFolder_; };
      services.readLibraryLocations = readLocations_;
      window_ = std::make_unique<FormMain>(std::move(services));
      if (!updateCheck_) Get<QTimer>("TimerWiseUpdate")->stop();
      Get<QTimer>("TimerStartup")->stop();
    } else if (which == Win::Options) {
      auto options = std::make_unique<FormOptions>(DialogServices{
          settings_, reg_, files_, desktop_, Shell(), realBoxes_ ? nullptr : &boxes_});
      options->Init();
      window_ = std::move(options);
    } else if (which == Win::Pick) {
      auto pick = std::make_unique<FormPickTiVoFolder>(reg_);
      pick->OrigFolder = origFolder_;
      pick->Init();
      window_ = std::move(pick);
    } else if (which == Win::About) {
      window_ = std::make_unique<FormAbout>(desktop_);
    } else {
      window_ = std::make_unique<FormStalePlaylists>(StaleDialogServices{registry_, files_, env_.Folder("Lists"), {}});
    }
    clicked_.clear();
    for (QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
      QObject::connect(button, &QAbstractButton::clicked, window_.get(),
                       [this, button] { clicked_.push_back(button->objectName().toStdString()); });
    }
    // Keys reach the window once it is active; a test that sends them fails
    // on them otherwise (a desktop without a window manager may never make
    // a window active: the screenshots are still taken there).
    static_cast<void>(ShowActive(*window_));
    if (which == Win::Main) {
      auto* startup = Get<QTimer>("TimerStartup");
      startup->start(0);
      EXPECT_TRUE(QTest::qWaitFor([startup] { return !startup->isActive(); }, 2000));
    }
    return *window_;
  }
  FormMain& Main() { return static_cast<FormMain&>(*window_); }
  template <class W = QWidget>
  W* Get(const char* name) { return Find<W>(*window_, name); }
  // Option buttons and check boxes answer only on their box and caption, not
  // on the empty rest of a wide row: click their box.
  void Click(const char* name) {
    QWidget* widget = Get(name);
    const bool boxed = qobject_cast<QRadioButton*>(widget) || qobject_cast<QCheckBox*>(widget);
    const QPoint box(std::min(8, widget->width() / 2), widget->height() / 2);
    QTest::mouseClick(widget, Qt::LeftButton, {}, boxed ? box : QPoint());
  }
  void Trigger(const char* action) { Get<QAction>(action)->trigger(); }
  // Pictures for a person to look at, saved into the folder that
  // QUORVELLA_SCREENSHOTS names; the tests that take them skip without it.
  void Shoot(QWidget& widget, const QString& name) {
    QTest::qWait(50);
    EXPECT_TRUE(widget.grab().save(shots_ + QLatin1Char('/') + name + ".png"));
  }
  // Pictures the next message box, then closes it with the key.
  void ShootNextBox(ModalScript& script, const QString& name, Qt::Key key = Qt::Key_Return) {
    script.On<QMessageBox>([=, this](QMessageBox& box) { Shoot(box, name), QTest::keyClick(&box, key); });
  }

  // A published folder with a playlist folder below it, Enhanced mode, and
  // the plug-in with its configuration program: every control of every
  // window shows and can be pressed.
  void StoreEverything() {
    const std::string music = env_.Folder("Music");
    env_.Publish("Music", music);
    reg_.RegSetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder", music);
    reg_.RegSetString(Hive::CurrentUser, SettingsKey, "EnhancedPlugInMode", "True");
    reg_.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, "");
    const std::string plugin = env_.Folder("Plug-in");
    TempEnvironment::WriteFile(plugin + "/TDUAP.exe");
    reg_.RegSetString(Hive::LocalMachine, PluginUninstallKey, PluginInstallLocationValueName, plugin);
    origFolder_ = music;
  }

  TempEnvironment env_;  // first: the registry file lies in its XDG_CONFIG_HOME
  FileRegistry registry_{DefaultRegistryPath()};
  RegUtil reg_{registry_};
  Settings settings_{reg_};
  bool loaded_ = false, realBoxes_ = false, tivo23_ = false, updateCheck_ = false;
  LocalFileSystem files_;
  RecordingDesktop desktop_;
  ScriptedBoxes boxes_;
  std::shared_ptr<FakeITunes> library_ = std::make_shared<FakeITunes>();
  std::function<std::shared_ptr<IiTunes>(const std::string&)> openLibrary_ = [this](const std::string&) {
    return library_;
  };
  std::function<LibraryLocations(const std::string&)> readLocations_;
  std::string programFolder_ = env_.Folder("Program Files/Quorvella");
  std::string remembered_, browseResult_, origFolder_;
  std::vector<std::pair<std::string, std::string>> browsed_;  // initial folder, title
  std::vector<std::string> explored_, clicked_;  // clicked_: the buttons of the window clicked
  WindowsVersion windowsVersion_{};
  std::unique_ptr<QWidget> window_;
  const QString shots_ = qEnvironmentVariable("QUORVELLA_SCREENSHOTS");
};

}  // namespace quorvella::test
