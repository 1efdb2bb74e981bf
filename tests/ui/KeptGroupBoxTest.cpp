// SPDX-License-Identifier: MIT
// The kept picture paints the box pixel for pixel as a plain group box,
// painted whole or in part (the part from the kept picture), and again after
// its title or state changed.
#include "ui/KeptGroupBox.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

namespace quorvella {
namespace {

TEST(KeptGroupBoxTest, PaintsAsAPlainGroupBox) {
  QWidget window;
  window.resize(480, 160);
  QGroupBox plain(QStringLiteral("Status"), &window);
  KeptGroupBox kept(QStringLiteral("Status"), &window);
  QGroupBox* const boxes[] = {&plain, &kept};
  for (QGroupBox* box : boxes) {
    box->setGeometry(box == &plain ? 0 : 240, 0, 230, 150);
    (new QLabel(QStringLiteral("Ready"), box))->setGeometry(16, 24, 200, 30);
  }
  window.show();
  const auto same = [&](const char* when) {
    SCOPED_TRACE(when);
    for (const QRect part : {QRect(0, 0, 230, 150), QRect(10, 20, 120, 40)}) {
      EXPECT_EQ(kept.grab(part).toImage().convertToFormat(QImage::Format_ARGB32),
                plain.grab(part).toImage().convertToFormat(QImage::Format_ARGB32));
    }
  };
  same("first");
  for (QGroupBox* box : boxes) box->setTitle(QStringLiteral("Another title"));
  same("new title");
  for (QGroupBox* box : boxes) box->setEnabled(false);
  same("disabled");
}

}  // namespace
}  // namespace quorvella
