// SPDX-License-Identifier: MIT
#include "ui/StatusDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace quorvella {
namespace {

// Texts kept at most; the statuses of a run are far fewer.
constexpr qsizetype kMaxTexts = 512;

}  // namespace

void StatusDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
  const auto plain = QStyleOptionViewItem::HasDisplay;
  if (opt.features != plain || opt.text.isEmpty() || opt.direction != Qt::LeftToRight ||
      (opt.state & (QStyle::State_Editing | QStyle::State_HasFocus)) ||
      opt.text.contains(QLatin1Char('\n'))) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QStaticText& text = Laid(opt.text, opt.font);
  const QSizeF size = text.size();
  if (size.width() > textRect.width()) {  // elided the standard way
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }

  painter->save();
  painter->setClipRect(opt.rect);
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
  QPalette::ColorGroup group =
      (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
  if (group == QPalette::Normal && !(opt.state & QStyle::State_Active)) group = QPalette::Inactive;
  painter->setPen(opt.palette.color(group, (opt.state & QStyle::State_Selected)
                                               ? QPalette::HighlightedText
                                               : QPalette::Text));
  painter->setFont(opt.font);
  const QRect placed = QStyle::alignedRect(opt.direction, opt.displayAlignment,
                                           size.toSize(), textRect);
  painter->drawStaticText(placed.topLeft(), text);
  painter->restore();
}

const QStaticText& StatusDelegate::Laid(const QString& text, const QFont& font) const {
  if (font != font_ || texts_.size() >= kMaxTexts) {
    texts_.clear();
    font_ = font;
  }
  auto it = texts_.find(text);
  if (it == texts_.end()) {
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.setPerformanceHint(QStaticText::AggressiveCaching);
    laid.prepare(QTransform(), font);
    it = texts_.insert(text, laid);
  }
  return *it;
}

}  // namespace quorvella
