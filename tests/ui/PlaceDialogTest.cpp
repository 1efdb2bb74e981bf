// SPDX-License-Identifier: MIT
#include "ui/PlaceDialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QWidget>

namespace quorvella {
namespace {

TEST(PlaceDialog, PutsTheDialog22PixelsRightAndDownOfTheOwner) {
  QWidget owner;
  owner.resize(400, 300);
  owner.move(100, 50);
  owner.show();
  QDialog dialog(&owner);
  dialog.resize(200, 120);
  PlaceDialog(&owner, &dialog);
  EXPECT_EQ(dialog.pos(), QPoint(122, 72));
  EXPECT_EQ(dialog.size(), QSize(200, 120));
  dialog.show();
  EXPECT_EQ(dialog.pos(), QPoint(122, 72));
}

TEST(PlaceDialog, FollowsTheOwnersWindowAndIsNotClamped) {
  QWidget owner;
  owner.move(30000, 20000);
  QWidget child(&owner);
  child.move(40, 40);
  QDialog dialog;
  PlaceDialog(&child, &dialog);
  EXPECT_EQ(dialog.pos(), QPoint(30022, 20022));
  PlaceDialog(nullptr, &dialog);
  PlaceDialog(&owner, nullptr);
  EXPECT_EQ(dialog.pos(), QPoint(30022, 20022));
}

}  // namespace
}  // namespace quorvella
