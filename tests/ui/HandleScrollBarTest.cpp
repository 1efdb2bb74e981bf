// SPDX-License-Identifier: MIT
// After each move, repainting only where the handle was and is leaves the
// bar on screen as a whole repaint draws it: step by step, by pages, to
// either end and back.
#include "ui/HandleScrollBar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScreen>

namespace quorvella {
namespace {

TEST(HandleScrollBarTest, ShowsWhatAWholeRepaintShows) {
  QWidget window;
  window.resize(40, 320);
  HandleScrollBar bar(Qt::Vertical, &window);
  bar.setGeometry(10, 10, 16, 300);
  bar.setRange(0, 975);
  bar.setPageStep(25);
  window.show();
  QApplication::processEvents();
  const int values[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 40, 300, 974, 975, 974, 500, 0, 1, 2};
  for (const int value : values) {
    bar.setValue(value);
    QApplication::processEvents();
    const QImage shown = window.screen()->grabWindow(window.winId(), 10, 10, 16, 300).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), bar.grab().toImage().convertToFormat(QImage::Format_RGB32))
        << "at " << value;
  }
}

}  // namespace
}  // namespace quorvella
