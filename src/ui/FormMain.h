// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "engine/MainController.h"
#include "engine/MappingCheck.h"
#include "library/ITunes.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "ui/DialogServices.h"
#include "ui/QtEventPump.h"
#include "ui/QtMessageBoxes.h"

class QAction;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quorvella {

class PlaylistListWidget;
class RegUtil;
class Settings;

// What the main window needs from the rest of the program; the composition
// root fills it in.
struct FormMainServices {
  Settings& settings;
  const RegUtil& reg;
  FileSystem& files;
  Desktop& desktop;
  std::function<bool()> isTiVoDesktop23OrLater;
  // Opens the library at a path, or finds it when the path is empty; throws
  // LibraryError saying which file was tried and why it failed.
  std::function<std::shared_ptr<IiTunes>(const std::string& path)> openLibrary;
  // Remembers the library file the user chose, for the next start.
  std::function<void(const std::string& path)> rememberLibrary;
  // The shell functions the Options dialog uses.
  ShellFunctions shell{};
  // The folder of the program's executable, where the update program lies;
  // when not set, the folder of the running program.
  std::function<std::string()> programFolder{};
  // The pyTivo music share that holds a folder; not set where none is known.
  MusicShareLookup pyTivoShareOf{};
  // The library's track locations as its file names them, before mapping
  // (the path as for openLibrary; throws LibraryError), and where a search
  // for mappings looks. Without them the mappings dialog counts nothing.
  std::function<LibraryLocations(const std::string& path)> readLibraryLocations{};
  std::function<std::vector<std::string>()> mappingSearchRoots{};
};

// The program's only top-level window: the checklist of playlists, the
// publish controls and status, the menus, and the start-up timers.
class FormMain final : public QMainWindow, private MainView {
  Q_OBJECT
 public:
  explicit FormMain(FormMainServices services, QWidget* parent = nullptr);
  ~FormMain() override;

  MainController& Controller() { return *controller_; }
  QtMessageBoxes& MessageBoxes() { return boxes_; }

 public slots:
  void ButRefresh_Click();
  void ButCheckAll_Click();
  void ButCheckNone_Click();
  void ButPublish_Click();
  void ButStop_Click();
  void ItemFileOpenLibrary_Click();
  void ItemFileMapLocations_Click();
  void ItemFileExit_Click();
  void ItemToolsOptions_Click();
  void ItemToolsRemoveStale_Click();
  void ItemHelpAbout_Click();
  void ItemWebCheckForUpdates_Click();

 public:
  // Starts the update program; only a check the user asked for reports
  // what went wrong.
  void RunWiseUpdate(bool interactive);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Initialize();
  void Form_Load();
  void TimerStartup_Timer();
  void TimerWiseUpdate_Timer();
  void BuildControls();
  void BuildMenus();
  void OpenLibrary(const std::string& path);
  void ShowProgress();

  // MainView
  PlaylistListView& ListPlaylists() override;
  void SetProgressPlaylists(float value) override;
  void SetProgressTracks(float value) override;
  void SetStatusText(const std::string& text) override;
  void SetStopEnabled(bool enabled) override;
  void SetWaitCursor(bool wait) override;
  void BusyChanged(bool busy) override;

  FormMainServices services_;
  QtMessageBoxes boxes_;
  QtEventPump pump_;
  std::unique_ptr<MainController> controller_;
  std::string libraryError_;
  std::string libraryPath_;  // as given to openLibrary: empty when it was found
  bool waitCursor_ = false;
  bool refreshWhenIdle_ = false;

  PlaylistListWidget* listPlaylists_ = nullptr;
  QPushButton* butRefresh_ = nullptr;
  QPushButton* butCheckAll_ = nullptr;
  QPushButton* butCheckNone_ = nullptr;
  QPushButton* butPublish_ = nullptr;
  QPushButton* butStop_ = nullptr;
  QLabel* labStatus_ = nullptr;
  QProgressBar* progressPlaylists_ = nullptr;
  QProgressBar* progressTracks_ = nullptr;
  QAction* itemFileOpenLibrary_ = nullptr;
  QAction* itemFileMapLocations_ = nullptr;
  QAction* itemToolsOptions_ = nullptr;
  QAction* itemToolsRemoveStale_ = nullptr;
  QTimer* progressUpdate_ = nullptr;
  int pendingPlaylists_ = 0;
  int pendingTracks_ = 0;
  QTimer* timerStartup_ = nullptr;
  QTimer* timerWiseUpdate_ = nullptr;
};

}  // namespace quorvella
