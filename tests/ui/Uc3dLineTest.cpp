// SPDX-License-Identifier: MIT
#include "ui/Uc3dLine.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

namespace quorvella {
namespace {

// The first row of pixels in the shadow colour and the second in the
// highlight colour, across the whole width.
void ExpectEtchedRows(Uc3dLine& line) {
  const QImage image = line.grab().toImage();
  ASSERT_EQ(image.width(), line.width());
  const QRgb dark = line.palette().color(QPalette::Dark).rgb();
  const QRgb light = line.palette().color(QPalette::Light).rgb();
  ASSERT_NE(dark, light);
  for (int x = 0; x < image.width(); ++x) {
    ASSERT_EQ(image.pixel(x, 0), dark) << "x = " << x;
    ASSERT_EQ(image.pixel(x, 1), light) << "x = " << x;
  }
}

TEST(Uc3dLine, BothLinesSpanTheWidthAfterEveryResize) {
  Uc3dLine line;
  line.resize(200, 9);
  line.show();
  for (const int width : {200, 37, 420, 1}) {
    SCOPED_TRACE(width);
    line.resize(width, 9);
    EXPECT_EQ(line.LineTop(), QLine(0, 0, width, 0));
    EXPECT_EQ(line.LineBottom(), QLine(0, 1, width, 1));
    ExpectEtchedRows(line);
  }
}

TEST(Uc3dLine, ColoursFollowTheColourScheme) {
  Uc3dLine line;
  QPalette scheme = line.palette();
  scheme.setColor(QPalette::Dark, QColor(255, 255, 0));
  scheme.setColor(QPalette::Light, QColor(0, 0, 128));
  line.setPalette(scheme);
  line.resize(64, 9);
  ExpectEtchedRows(line);
  EXPECT_EQ(line.grab().toImage().pixel(63, 0), qRgb(255, 255, 0));
}

TEST(Uc3dLine, AControlOfNoWidthHasEmptyLines) {
  QWidget container;
  Uc3dLine line(&container);
  container.show();
  line.resize(80, 9);
  line.resize(0, 9);
  EXPECT_EQ(line.LineTop(), QLine(0, 0, 0, 0));
  EXPECT_EQ(line.LineBottom(), QLine(0, 1, 0, 1));
  EXPECT_TRUE(line.grab().isNull());
}

}  // namespace
}  // namespace quorvella
