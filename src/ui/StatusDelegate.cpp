// SPDX-License-Identifier: MIT
#include "ui/StatusDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace quorvella {
namespace {

// Texts kept at most; the statuses of a run are far fewer.
constexpr qsizetype kMaxTexts = 512;

// The part of `area` the style draws a text in.
QRect TextRect(const QStyleOptionViewItem& opt, const QRect& area) {
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  return area.adjusted(margin, 0, -margin, 0);
}

}  // namespace

void StatusDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QStaticText* text =
      opt.features == QStyleOptionViewItem::HasDisplay ? Fitting(opt, opt.rect) : nullptr;
  if (!text) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  painter->save();
  painter->setClipRect(opt.rect);
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
  DrawText(painter, opt, opt.rect, *text);
  painter->restore();
}

const QStaticText* StatusDelegate::Fitting(const QStyleOptionViewItem& opt,
                                           const QRect& area) const {
  if (opt.text.isEmpty() || opt.direction != Qt::LeftToRight ||
      (opt.state & (QStyle::State_Editing | QStyle::State_HasFocus)) ||
      opt.text.contains(QLatin1Char('\n'))) {
    return nullptr;
  }
  const QStaticText& text = Laid(opt.text, opt.font);
  // A text too wide is elided the standard way.
  return text.size().width() > TextRect(opt, area).width() ? nullptr : &text;
}

void StatusDelegate::DrawText(QPainter* painter, const QStyleOptionViewItem& opt,
                              const QRect& area, const QStaticText& text) {
  QPalette::ColorGroup group =
      (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
  if (group == QPalette::Normal && !(opt.state & QStyle::State_Active)) group = QPalette::Inactive;
  painter->setPen(opt.palette.color(group, (opt.state & QStyle::State_Selected)
                                               ? QPalette::HighlightedText
                                               : QPalette::Text));
  painter->setFont(opt.font);
  const QRect placed = QStyle::alignedRect(opt.direction, opt.displayAlignment,
                                           text.size().toSize(), TextRect(opt, area));
  painter->drawStaticText(placed.topLeft(), text);
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
