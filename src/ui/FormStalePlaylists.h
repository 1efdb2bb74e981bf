// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/StalePlaylists.h"
#include "platform/FileSystem.h"
#include "settings/RegistryBackend.h"
#include "ui/QtMessageBoxes.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace quorvella {

// What the Remove Stale Playlists dialog works with.
struct StaleDialogServices {
  RegistryBackend& store;  // holds the record of written files
  FileSystem& files;
  std::string folder;  // the playlist folder
  // The file name each playlist of the library writes now, by playlist ID.
  std::map<std::int32_t, std::string> currentNames;
  // Where the dialog's message boxes go; null shows real boxes over it.
  MessageBoxes* boxes = nullptr;
};

// The Remove Stale Playlists dialog: the files the program wrote into the
// playlist folder for playlists that are gone or now write under another
// name, each checked. OK moves the checked ones to the trash, leaving any
// file changed since it was written; Cancel, Esc and the close box do
// nothing.
class FormStalePlaylists final : public QDialog {
  Q_OBJECT
 public:
  explicit FormStalePlaylists(StaleDialogServices services, QWidget* parent = nullptr);

  void ButOK_Click();
  void ButCancel_Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  StaleDialogServices services_;
  QtMessageBoxes ownBoxes_;
  MessageBoxes& boxes_;
  // The stale files in the folder, one per row of the list.
  std::vector<StalePlaylist> stale_;

  QLabel* label1_ = nullptr;
  QListWidget* listStale_ = nullptr;
  QPushButton* butOK_ = nullptr;
  QPushButton* butCancel_ = nullptr;
};

}  // namespace quorvella
