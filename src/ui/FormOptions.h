// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "ui/DialogServices.h"
#include "ui/QtMessageBoxes.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorvella {

class LinkLabel;
class Uc3dLine;
class WrappingLabel;

// The Options dialog: the playlist folder, the publishing mode with its file
// types, and whether empty playlists are deleted. It edits copies held in its
// own controls and stores them through Settings only on OK; Cancel, Esc and
// the close box store nothing.
class FormOptions final : public QDialog {
  Q_OBJECT
 public:
  explicit FormOptions(DialogServices services, QWidget* parent = nullptr);

  // Fills the dialog from the settings; once, before it is shown.
  void Init();

  // The working copy of the playlist folder: the folder label's caption,
  // trimmed.
  std::string PlaylistFolder() const;
  void SetPlaylistFolder(const std::string& fullPath);

  void ButOK_Click();
  void ButCancel_Click();
  void ButBrowse_Click();
  void ButOpenFolder_Click();
  void ButPickTiVoFolder_Click();
  void ButConfigurePlugin_Click();
  void LabPlugIn_Click();
  void OptEnhMode_Click(int index);
  void ListFileTypes_ItemCheck(QTreeWidgetItem* item);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildFolderTab();
  QWidget* BuildFileTypesTab();
  void PlaceLabPlugIn();
  void SelectOptEnhMode(int index);
  void AddFileTypeRow(const std::string& ext);
  void UpdateOpenFolderButton();
  void SaveFileTypeChecks();
  bool IsWindows52OrLater() const;
  void Form_Unload();

  DialogServices services_;
  QtMessageBoxes ownBoxes_;
  MessageBoxes& boxes_;
  bool InitDone = false;

  QTabWidget* tabMain_ = nullptr;
  QLabel* labTiVoDesktopVersion_ = nullptr;
  QPushButton* butOK_ = nullptr;
  QPushButton* butCancel_ = nullptr;

  WrappingLabel* labPlaylistFolder_ = nullptr;
  QPushButton* butPickTiVoFolder_ = nullptr;
  QPushButton* butBrowse_ = nullptr;
  QPushButton* butOpenFolder_ = nullptr;
  QLabel* labImportantNote_ = nullptr;

  WrappingLabel* label2_ = nullptr;
  LinkLabel* labPlugIn_ = nullptr;
  std::array<QRadioButton*, 2> optEnhMode_{};
  QLabel* labListFileTypes_ = nullptr;
  QTreeWidget* listFileTypes_ = nullptr;
  QPushButton* butConfigurePlugin_ = nullptr;
  Uc3dLine* uc3dLine1_ = nullptr;
  QCheckBox* checkDeleteEmptyOutput_ = nullptr;
};

}  // namespace quorvella
