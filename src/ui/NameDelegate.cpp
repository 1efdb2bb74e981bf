// SPDX-License-Identifier: MIT
#include "ui/NameDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace quorvella {

void NameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  constexpr auto kParts = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasCheckIndicator |
                          QStyleOptionViewItem::HasDecoration;
  // The parts' places depend on the text only when the text alone is shown
  // as selected, or when the image is not beside it.
  const bool expected = (opt.features & ~kParts) == 0 && opt.showDecorationSelected &&
                        opt.decorationPosition == QStyleOptionViewItem::Left;
  const Geometry* placed = expected ? &Placed(opt) : nullptr;
  const QStaticText* text =
      placed ? Fitting(opt, placed->text.translated(opt.rect.topLeft())) : nullptr;
  if (!text) {
    StatusDelegate::paint(painter, option, index);
    return;
  }

  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  const QPoint at = opt.rect.topLeft();
  painter->save();
  painter->setClipRect(opt.rect);
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
  if (opt.features & QStyleOptionViewItem::HasCheckIndicator) {
    QStyleOptionViewItem check = opt;
    check.rect = placed->check.translated(at);
    check.state &= ~QStyle::State_HasFocus;
    check.state |= opt.checkState == Qt::Checked            ? QStyle::State_On
                   : opt.checkState == Qt::PartiallyChecked ? QStyle::State_NoChange
                                                            : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
  }
  const QIcon::Mode mode = !(opt.state & QStyle::State_Enabled) ? QIcon::Disabled
                           : (opt.state & QStyle::State_Selected) ? QIcon::Selected
                                                                  : QIcon::Normal;
  opt.icon.paint(painter, placed->decoration.translated(at), opt.decorationAlignment, mode,
                 (opt.state & QStyle::State_Open) ? QIcon::On : QIcon::Off);
  DrawText(painter, opt, placed->text.translated(at), *text);
  painter->restore();
}

const NameDelegate::Geometry& NameDelegate::Placed(const QStyleOptionViewItem& opt) const {
  const int features = static_cast<int>(opt.features);
  for (const Geometry& kept : geometry_) {
    if (kept.size == opt.rect.size() && kept.features == features &&
        kept.decorationSize == opt.decorationSize) {
      return kept;
    }
  }
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  const QPoint origin = -opt.rect.topLeft();
  Geometry& laid = geometry_[next_];
  next_ = (next_ + 1) % geometry_.size();
  laid.size = opt.rect.size();
  laid.features = features;
  laid.decorationSize = opt.decorationSize;
  laid.check = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget)
                   .translated(origin);
  laid.decoration =
      style->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, widget).translated(origin);
  laid.text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).translated(origin);
  return laid;
}

}  // namespace quorvella
