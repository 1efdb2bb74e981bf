// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "engine/MappingCheck.h"
#include "library/LocationMappings.h"
#include "platform/FileSystem.h"
#include "ui/DialogServices.h"
#include "ui/QtMessageBoxes.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace quorvella {

class RegUtil;

// What the Map Library Locations dialog works with.
struct MappingsDialogServices {
  const RegUtil& reg;
  FileSystem& files;
  // The library's track locations as its file names them; empty, with a
  // reason in libraryProblem, when the library could not be read.
  LibraryLocations library;
  std::string libraryProblem;
  // Where Suggest looks for the songs.
  std::vector<std::string> searchRoots;
  ShellFunctions shell{};
  // Where the dialog's message boxes go; null shows real boxes over it.
  MessageBoxes* boxes = nullptr;
};

// The Map Library Locations dialog: the mappings in a table with how many of
// the library's songs each maps and finds, the folders of the songs that are
// neither mapped nor found, and Add, Remove and Suggest. It edits a copy and
// stores it only on OK; Cancel, Esc and the close box store nothing.
class FormMappings final : public QDialog {
  Q_OBJECT
 public:
  explicit FormMappings(MappingsDialogServices services, QWidget* parent = nullptr);

  // The mappings as the dialog holds them now.
  const LocationMappings& Mappings() const { return mappings_; }

  void ButAdd_Click();
  void ButRemove_Click();
  void ButSuggest_Click();
  void ButOK_Click();
  void ButCancel_Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Counts the songs again and fills both lists.
  void ShowMappings();
  // The `from` that Add offers: the missing folder selected, else the
  // first, else the library's music folder.
  std::string OfferedFrom() const;
  // Adds a rule, asking first when it replaces one; false when the user
  // keeps the old one.
  bool AddRule(const LocationMapping& rule);
  void UpdateButtons();

  MappingsDialogServices services_;
  QtMessageBoxes ownBoxes_;
  MessageBoxes& boxes_;
  LocationMappings mappings_;

  QTreeWidget* listMappings_ = nullptr;
  QTreeWidget* listMissing_ = nullptr;
  QLabel* labSummary_ = nullptr;
  QPushButton* butAdd_ = nullptr;
  QPushButton* butRemove_ = nullptr;
  QPushButton* butSuggest_ = nullptr;
  QPushButton* butOK_ = nullptr;
  QPushButton* butCancel_ = nullptr;
};

}  // namespace quorvella
