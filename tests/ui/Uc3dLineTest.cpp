// SPDX-License-Identifier: MIT
#include "ui/Uc3dLine.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

namespace quorvella {
namespace {

// The shadow line on the first row of pixels and the highlight line on the
// second span the whole width after every resize, in the colour scheme's
// colours; a control of no width paints nothing.
TEST(Uc3dLine, BothLinesSpanTheWidthInTheSchemesColours) {
  QWidget container;
  Uc3dLine line(&container);
  QPalette scheme = line.palette();
  scheme.setColor(QPalette::Dark, QColor(255, 255, 0));
  scheme.setColor(QPalette::Light, QColor(0, 0, 128));
  line.setPalette(scheme);
  container.show();
  for (const int width : {200, 37, 420, 1, 0}) {
    SCOPED_TRACE(width);
    line.resize(width, 9);
    const QImage image = line.grab().toImage();
    ASSERT_EQ(image.width(), width);
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(image.pixel(x, 0), qRgb(255, 255, 0)) << x;
      ASSERT_EQ(image.pixel(x, 1), qRgb(0, 0, 128)) << x;
    }
  }
}

}  // namespace
}  // namespace quorvella
