// SPDX-License-Identifier: MIT
#include "ui/PlaylistListWidget.h"

#include <QHeaderView>
#include <array>

#include "ui/Artwork.h"
#include "ui/HandleScrollBar.h"
#include "ui/NameDelegate.h"
#include "ui/StatusDelegate.h"

namespace quorvella {
namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kTagRole = Qt::UserRole + 1;

}  // namespace

PlaylistListWidget::PlaylistListWidget(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(2);
  setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Status")});
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setIconSize(QSize(16, 16));
  setVerticalScrollBar(new HandleScrollBar(Qt::Vertical, this));
  setItemDelegateForColumn(0, new NameDelegate(this));
  setItemDelegateForColumn(1, new StatusDelegate(this));
  // Columns 3750 twips wide each, as the list was laid out (1440 twips
  // make an inch at any dpi).
  header()->setStretchLastSection(false);
  const int column = 3750 * logicalDpiX() / 1440;
  header()->resizeSection(0, column);
  header()->resizeSection(1, column);
  // Drawn once per kind, not once per row.
  for (PlaylistKindCode code = 1; code <= 8; ++code) {
    kindIcons_[static_cast<std::size_t>(code)] = QIcon(KindImage(code));
  }
}

void PlaylistListWidget::Clear() { clear(); }

int PlaylistListWidget::Count() const { return topLevelItemCount(); }

int PlaylistListWidget::AddRow(const std::string& text) {
  auto* item = new QTreeWidgetItem(this);
  item->setText(0, QString::fromStdString(text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(0, Qt::Unchecked);
  return topLevelItemCount() - 1;
}

std::string PlaylistListWidget::Text(int row) const { return Row(row)->text(0).toStdString(); }

void PlaylistListWidget::SetIcon(int row, PlaylistKindCode code) {
  Row(row)->setData(0, kKindRole, code);
  Row(row)->setIcon(0, code >= 1 && code <= 8 ? kindIcons_[static_cast<std::size_t>(code)] : QIcon());
}

PlaylistKindCode PlaylistListWidget::Icon(int row) const {
  return Row(row)->data(0, kKindRole).toInt();
}

void PlaylistListWidget::SetChecked(int row, bool checked) {
  Row(row)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

bool PlaylistListWidget::Checked(int row) const {
  return Row(row)->checkState(0) == Qt::Checked;
}

void PlaylistListWidget::SetTag(int row, const std::string& tag) {
  Row(row)->setData(0, kTagRole, QString::fromStdString(tag));
}

std::string PlaylistListWidget::Tag(int row) const {
  return Row(row)->data(0, kTagRole).toString().toStdString();
}

void PlaylistListWidget::SetStatus(int row, const std::string& status) {
  Row(row)->setText(1, QString::fromStdString(status));
}

std::string PlaylistListWidget::Status(int row) const { return Row(row)->text(1).toStdString(); }

void PlaylistListWidget::EnsureVisible(int row) { scrollToItem(Row(row)); }

}  // namespace quorvella
