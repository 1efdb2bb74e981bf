// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace quorvella {

// Paints a cell of plain text, such as a playlist's status, as the standard
// delegate does, but keeps each text's glyph layout. A run repaints every
// status as it changes, and the statuses are few texts ("Queued",
// "Publishing...", the song counts): laying each out again at every paint
// cost more than writing the playlist. A cell the layout cannot hold as one
// line (an icon, a check box, a text too wide) is painted the standard way.
class StatusDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  const QStaticText& Laid(const QString& text, const QFont& font) const;

  mutable QFont font_;
  mutable QHash<QString, QStaticText> texts_;
};

}  // namespace quorvella
