// SPDX-License-Identifier: MIT
#include "ui/HandleScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace quorvella {
namespace {

constexpr int kEdge = 2;

}  // namespace

HandleScrollBar::HandleScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

void HandleScrollBar::sliderChange(SliderChange change) {
  if (change == SliderValueChange && handle_.isValid() && Inside()) {
    const QRect handle = Handle();
    // The style draws the handle's edge a little outside its rectangle.
    if (handle != handle_) update(handle_.united(handle).adjusted(-kEdge, -kEdge, kEdge, kEdge));
    return;
  }
  QScrollBar::sliderChange(change);
}

void HandleScrollBar::paintEvent(QPaintEvent* event) {
  QScrollBar::paintEvent(event);
  // At either end the arrows may look otherwise: the next move repaints all.
  handle_ = Inside() ? Handle() : QRect();
}

bool HandleScrollBar::Inside() const { return value() > minimum() && value() < maximum(); }

QRect HandleScrollBar::Handle() const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

}  // namespace quorvella
