// SPDX-License-Identifier: MIT
#include "ui/PlaceDialog.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace quorvella {
namespace {

// 22 pixels right and down of the owner's window (not of the control that
// asks), however far off the screen, and still there once shown.
TEST(PlaceDialog, Puts22PixelsRightAndDownOfTheOwnersWindow) {
  for (const QPoint at : {QPoint(100, 50), QPoint(30000, 20000)}) {
    QWidget owner;
    owner.move(at);
    QWidget child(&owner);
    child.move(40, 40);
    owner.show();
    QDialog dialog(&owner);
    dialog.resize(200, 120);
    PlaceDialog(&child, &dialog);
    PlaceDialog(nullptr, &dialog);
    PlaceDialog(&owner, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.pos(), at + QPoint(22, 22));
    EXPECT_EQ(dialog.size(), QSize(200, 120));
  }
}

}  // namespace
}  // namespace quorvella
