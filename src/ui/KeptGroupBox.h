// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QGroupBox>
#include <QPixmap>

namespace quorvella {

// A group box that paints its frame and title once, on the window's
// background, and keeps the picture. A label inside a frame is transparent,
// so each new text of it repaints the frame behind it too; the status line
// changes for every playlist of a run, and drawing the frame again each time
// cost more than the text. The box stands on a plain part of its window,
// whose background it paints itself.
class KeptGroupBox final : public QGroupBox {
  Q_OBJECT
 public:
  explicit KeptGroupBox(const QString& title, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
  // What the picture was painted with.
  QString title_;
  QFont font_;
  qint64 palette_ = 0;
  int state_ = 0;
};

}  // namespace quorvella
