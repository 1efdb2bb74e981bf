// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;

namespace quorvella {

class RegUtil;

// Lists the music folders TiVo Desktop publishes and lets the user take one
// of them. It changes no setting: the caller reads Result and, after OK,
// SelectedFolder.
class FormPickTiVoFolder final : public QDialog {
  Q_OBJECT
 public:
  explicit FormPickTiVoFolder(const RegUtil& reg, QWidget* parent = nullptr);

  // The caller's current folder, set before Init; the equal entry is
  // preselected.
  std::string OrigFolder;
  // 0 until a button is pressed, 1 after OK, 2 after Cancel.
  int Result = 0;

  // Once, after OrigFolder is set and before the dialog is shown.
  void Init();
  // The selected entry as listed, or empty text when none is selected.
  std::string SelectedFolder() const;

  void ButOK_Click();
  void ButCancel_Click();
  void ListFolders_Click();
  void ListFolders_DblClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateOKButton();
  void SelectOrigFolder();
  void FillFolderList();

  const RegUtil& reg_;
  QLabel* labImportantNote_ = nullptr;
  QListWidget* listFolders_ = nullptr;
  QPushButton* butOK_ = nullptr;
  QPushButton* butCancel_ = nullptr;
};

}  // namespace quorvella
