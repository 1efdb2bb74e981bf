// SPDX-License-Identifier: MIT
#include "ui/FormPickTiVoFolder.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "platform/Text.h"
#include "tivo/PublishedFolders.h"
#include "tivo/TiVoDesktop.h"
#include "ui/Controls.h"
#include "ui/Twips.h"

namespace quorvella {
FormPickTiVoFolder::FormPickTiVoFolder(const RegUtil& reg, QWidget* parent)
    : QDialog(parent), reg_(reg) {
  setObjectName(QStringLiteral("FormPickTiVoFolder"));
  setWindowTitle(QStringLiteral("Pick TiVo Desktop Folder"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  UseDesignFont(this);
  TwipsLayout layout(this, 9375, 5175);

  QLabel* label1 = AddLabel(
      this, "Label1",
      QStringLiteral(
          "Use this window to select one of the music folders published to TiVo Dekstop as the "
          "output folder into which your playlists will be written. Selecting one of these "
          "folders will help to ensure that TiVo and TiVo Desktop will be able to play all songs "
          "on the playlist."),
      Wrap::Yes);
  layout.Place(label1, 240, 240, 8775, 615);
  QLabel* label4 =
      AddLabel(this, "Label4", QStringLiteral("&List of music folders published to TiVo Desktop:"));
  layout.Place(label4, 240, 2280, 3495, 255);
  listFolders_ = new QListWidget(this);
  listFolders_->setObjectName(QStringLiteral("ListFolders"));
  listFolders_->setSelectionMode(QAbstractItemView::SingleSelection);
  label4->setBuddy(listFolders_);
  layout.Place(listFolders_, 240, 2520, 8895, 1815);
  butOK_ = AddButton(this, "ButOK", QStringLiteral("OK"));
  butOK_->setDefault(true);
  // The two buttons line up with the list's right edge.
  layout.Place(butOK_, 6480, 4560, 1215, 375, TwipsLayout::Grow::Left);
  butCancel_ = AddButton(this, "ButCancel", QStringLiteral("Cancel"));
  layout.Place(butCancel_, 7920, 4560, 1215, 375, TwipsLayout::Grow::Left);
  layout.Place(AddLabel(this, "Label10", QStringLiteral("AND")), 480, 1560, 495, 255);
  layout.Place(
      AddLabel(
          this, "Label8",
          QStringLiteral(
              "2. Contains all of the songs in the playlist (or is a parent folder thereof).")),
      480, 1800, 5055, 255);
  layout.Place(AddLabel(this, "Label7",
                        QStringLiteral("1. Has been published as a Music Folder in the TiVo "
                                       "Desktop software (or is a sub-folder thereof).")),
               480, 1320, 6975, 255);
  labImportantNote_ = AddLabel(this, "LabImportantNote", QString::fromUtf8(ImportantNoteCaption));
  layout.Place(labImportantNote_, 240, 960, 7335, 255);
  layout.Apply();

  setTabOrder(listFolders_, butOK_);
  setTabOrder(butOK_, butCancel_);

  connect(listFolders_, &QListWidget::itemSelectionChanged, this,
          &FormPickTiVoFolder::ListFolders_Click);
  // The whole list, not only its entries, answers a double-click.
  listFolders_->viewport()->installEventFilter(this);
  connect(butOK_, &QPushButton::clicked, this, &FormPickTiVoFolder::ButOK_Click);
  connect(butCancel_, &QPushButton::clicked, this, &FormPickTiVoFolder::ButCancel_Click);
  listFolders_->setFocus();
}

void FormPickTiVoFolder::Init() {
  if (GetTiVoDesktopRelease(reg_) == TiVoDesktopRelease::Is23) {
    labImportantNote_->setText(
        QString::fromStdString(RewordImportantNote(reg_, labImportantNote_->text().toStdString())));
  }
  FillFolderList();
  UpdateOKButton();
}

std::string FormPickTiVoFolder::SelectedFolder() const {
  const QList<QListWidgetItem*> selected = listFolders_->selectedItems();
  if (selected.isEmpty()) return {};
  return selected.front()->text().toStdString();
}

void FormPickTiVoFolder::UpdateOKButton() {
  butOK_->setEnabled(!listFolders_->selectedItems().isEmpty());
}

void FormPickTiVoFolder::SelectOrigFolder() {
  listFolders_->clearSelection();
  listFolders_->setCurrentItem(nullptr);
  const std::string wanted = LowerCase(TrimSpaces(OrigFolder));
  if (wanted.empty()) return;
  for (int row = 0; row < listFolders_->count(); ++row) {
    QListWidgetItem* item = listFolders_->item(row);
    if (LowerCase(TrimSpaces(item->text().toStdString())) == wanted) {
      listFolders_->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
      return;
    }
  }
}

void FormPickTiVoFolder::FillFolderList() {
  listFolders_->clear();
  for (const std::string& folder : GetPublishedMusicFolders(reg_)) {
    listFolders_->addItem(QString::fromStdString(folder));
  }
  SelectOrigFolder();
}

void FormPickTiVoFolder::ListFolders_Click() { UpdateOKButton(); }

void FormPickTiVoFolder::ListFolders_DblClick() {
  if (!listFolders_->selectedItems().isEmpty()) ButOK_Click();
}

void FormPickTiVoFolder::ButOK_Click() {
  if (listFolders_->selectedItems().isEmpty()) return;
  Result = 1;
  accept();
}

void FormPickTiVoFolder::ButCancel_Click() {
  Result = 2;
  reject();
}

void FormPickTiVoFolder::keyPressEvent(QKeyEvent* event) {
  // Esc presses Cancel; closing the window any other way leaves Result as
  // it was.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    butCancel_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool FormPickTiVoFolder::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listFolders_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    // The press before it has already selected the entry under the pointer.
    ListFolders_DblClick();
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace quorvella
