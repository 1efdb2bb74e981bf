// SPDX-License-Identifier: MIT
#include "ui/Uc3dLine.h"

#include <QPainter>

namespace quorvella {

Uc3dLine::Uc3dLine(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  ArrangeLines();
}

void Uc3dLine::resizeEvent(QResizeEvent* event) {
  ArrangeLines();
  QWidget::resizeEvent(event);
}

void Uc3dLine::ArrangeLines() {
  const int w = width();
  lineTop_ = QLine(0, 0, w, 0);
  lineBottom_ = lineTop_.translated(0, 1);
}

void Uc3dLine::paintEvent(QPaintEvent*) {
  // A line's end point is one past the last pixel drawn; a control of width
  // 0 draws nothing.
  if (width() <= 0) return;
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::Dark), 1));
  painter.drawLine(lineTop_.p1(), lineTop_.p2() - QPoint(1, 0));
  painter.setPen(QPen(palette().color(QPalette::Light), 1));
  painter.drawLine(lineBottom_.p1(), lineBottom_.p2() - QPoint(1, 0));
}

}  // namespace quorvella
