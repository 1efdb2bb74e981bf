// SPDX-License-Identifier: MIT
#include "ui/KeptGroupBox.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace quorvella {

KeptGroupBox::KeptGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void KeptGroupBox::paintEvent(QPaintEvent* event) {
  QStyleOptionGroupBox option;
  initStyleOption(&option);
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size()) * ratio).toSize();
  if (picture_.size() != pixels || picture_.devicePixelRatio() != ratio || title_ != option.text ||
      font_ != font() || palette_ != palette().cacheKey() ||
      state_ != static_cast<int>(option.state)) {
    picture_ = QPixmap(pixels);
    picture_.setDevicePixelRatio(ratio);
    // Set up as a painter on the box itself.
    QStylePainter painter(&picture_, this);
    painter.fillRect(rect(), palette().brush(QPalette::Window));
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
    title_ = option.text;
    font_ = font();
    palette_ = palette().cacheKey();
    state_ = static_cast<int>(option.state);
  }
  QPainter painter(this);
  const QRect area = event->rect();
  painter.drawPixmap(area, picture_,
                     QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toRect());
}

}  // namespace quorvella
