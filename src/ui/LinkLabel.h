// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace quorvella {

// A label that looks like a web link: blue text, underlined if asked, and
// the hand-shaped pointer. A click with the left button inside it emits
// clicked; what opens is the owner's business.
class LinkLabel final : public QLabel {
  Q_OBJECT
 public:
  explicit LinkLabel(const QString& text, bool underlined, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace quorvella
