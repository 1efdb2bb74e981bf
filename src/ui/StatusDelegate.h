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
class StatusDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 protected:
  // The kept layout of the cell's text when the style would draw it as one
  // line in `area` (the cell's text part, margins included); else null.
  const QStaticText* Fitting(const QStyleOptionViewItem& opt, const QRect& area) const;
  // Draws that layout where and as the style draws the text.
  static void DrawText(QPainter* painter, const QStyleOptionViewItem& opt, const QRect& area,
                       const QStaticText& text);

 private:
  const QStaticText& Laid(const QString& text, const QFont& font) const;

  mutable QFont font_;
  mutable QHash<QString, QStaticText> texts_;
};

}  // namespace quorvella
