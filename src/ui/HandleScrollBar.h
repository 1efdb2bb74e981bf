// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QScrollBar>

namespace quorvella {

// A scroll bar that, when only its value moves, repaints the part its
// handle left and the part it moved to instead of the whole bar. A run
// scrolls the list by one row per playlist; painting the whole bar's
// gradients each time cost more than the rows themselves.
class HandleScrollBar final : public QScrollBar {
  Q_OBJECT
 public:
  HandleScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

 protected:
  void sliderChange(SliderChange change) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool Inside() const;
  QRect Handle() const;

  QRect handle_;  // where the handle was last drawn
};

}  // namespace quorvella
