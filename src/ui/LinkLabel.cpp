// SPDX-License-Identifier: MIT
#include "ui/LinkLabel.h"

#include <QMouseEvent>

namespace quorvella {

LinkLabel::LinkLabel(const QString& text, bool underlined, QWidget* parent)
    : QLabel(text, parent) {
  QPalette colours = palette();
  // Pure blue, as links were drawn before browsers had styles.
  colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
  setPalette(colours);
  QFont linkFont = font();
  linkFont.setUnderline(underlined);
  setFont(linkFont);
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  // Like a button: the click counts where the button is let go inside.
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) emit clicked();
}

}  // namespace quorvella
