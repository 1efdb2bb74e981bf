// SPDX-License-Identifier: MIT
#include "ui/FormStalePlaylists.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "settings/PublishedFiles.h"
#include "ui/Controls.h"
#include "ui/Twips.h"

namespace quorvella {
namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

FormStalePlaylists::FormStalePlaylists(StaleDialogServices services, QWidget* parent)
    : QDialog(parent),
      services_(std::move(services)),
      ownBoxes_(this),
      boxes_(services_.boxes != nullptr ? *services_.boxes : ownBoxes_) {
  setObjectName(QStringLiteral("FormStalePlaylists"));
  setWindowTitle(QStringLiteral("Remove Stale Playlists"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  UseDesignFont(this);
  TwipsLayout layout(this, 9375, 5175);

  label1_ = AddLabel(this, "Label1", {}, Wrap::Yes);
  layout.Place(label1_, 240, 240, 8895, 615);
  QLabel* label2 = AddLabel(this, "Label2", QStringLiteral("&Stale playlist files:"));
  layout.Place(label2, 240, 1080, 3495, 255);
  listStale_ = new QListWidget(this);
  listStale_->setObjectName(QStringLiteral("ListStale"));
  listStale_->setSelectionMode(QAbstractItemView::SingleSelection);
  label2->setBuddy(listStale_);
  layout.Place(listStale_, 240, 1320, 8895, 3015);
  butOK_ = AddButton(this, "ButOK", QStringLiteral("OK"));
  butOK_->setDefault(true);
  // The two buttons line up with the list's right edge.
  layout.Place(butOK_, 6480, 4560, 1215, 375, TwipsLayout::Grow::Left);
  butCancel_ = AddButton(this, "ButCancel", QStringLiteral("Cancel"));
  layout.Place(butCancel_, 7920, 4560, 1215, 375, TwipsLayout::Grow::Left);
  layout.Apply();

  setTabOrder(listStale_, butOK_);
  setTabOrder(butOK_, butCancel_);
  connect(butOK_, &QPushButton::clicked, this, &FormStalePlaylists::ButOK_Click);
  connect(butCancel_, &QPushButton::clicked, this, &FormStalePlaylists::ButCancel_Click);

  for (StalePlaylist& stale : FindStalePlaylists(
           services_.folder, LoadPublishedFiles(services_.store, services_.folder),
           services_.currentNames)) {
    if (stale.state == StalePlaylist::State::Gone) continue;
    auto* item = new QListWidgetItem(QString::fromStdString(stale.record.name), listStale_);
    item->setToolTip(QString::fromStdString(stale.path));
    if (stale.state == StalePlaylist::State::ChangedSince) {
      // Named, so the user knows of it, but never the program's to remove.
      item->setText(item->text() + QStringLiteral("  (changed since it was written; left alone)"));
      item->setFlags(Qt::NoItemFlags);
    } else {
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Checked);
    }
    stale_.push_back(std::move(stale));
  }
  label1_->setText(
      stale_.empty()
          ? QStringLiteral("No playlist file is stale: each file that Quorvella wrote into the "
                           "playlist folder still belongs to a playlist of the library.")
          : QStringLiteral("Quorvella wrote these files into the playlist folder for playlists "
                           "that are no longer in the library or that now write under another "
                           "name. The checked files are moved to the trash."));
  listStale_->setEnabled(!stale_.empty());
  if (!stale_.empty()) listStale_->setCurrentRow(0);
  listStale_->setFocus();
}

void FormStalePlaylists::ButOK_Click() {
  // The record as it is now: a run since the dialog opened may have changed it.
  std::vector<PublishedFile> record = LoadPublishedFiles(services_.store, services_.folder);
  std::string left;
  for (int row = 0; row < listStale_->count(); ++row) {
    const StalePlaylist& stale = stale_[static_cast<std::size_t>(row)];
    if (stale.state == StalePlaylist::State::ChangedSince) {
      ForgetPublishedFile(record, stale.record.name);
      continue;
    }
    if (listStale_->item(row)->checkState() != Qt::Checked) continue;
    switch (RemoveStalePlaylist(services_.files, stale, record)) {
      case StaleRemoval::NotMoved:
        left += std::string(kCrLf) + stale.path + " (it could not be moved to the trash)";
        break;
      case StaleRemoval::ChangedSince:
        left += std::string(kCrLf) + stale.path + " (it was changed since it was written)";
        break;
      case StaleRemoval::Moved:
      case StaleRemoval::Gone:
        break;
    }
  }
  // Files no longer in the folder leave the record too.
  for (const StalePlaylist& stale :
       FindStalePlaylists(services_.folder, record, services_.currentNames)) {
    if (stale.state == StalePlaylist::State::Gone) ForgetPublishedFile(record, stale.record.name);
  }
  if (!SavePublishedFiles(services_.store, services_.folder, record)) {
    boxes_.Show(Message{"The record of written playlist files could not be saved.",
                        MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
  }
  if (!left.empty()) {
    boxes_.Show(Message{"These playlist files were left in place:" + std::string(kCrLf) + left,
                        MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
  }
  accept();
}

void FormStalePlaylists::ButCancel_Click() { reject(); }

void FormStalePlaylists::keyPressEvent(QKeyEvent* event) {
  // Esc presses Cancel.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    butCancel_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace quorvella
