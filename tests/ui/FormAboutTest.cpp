// SPDX-License-Identifier: MIT
#include "ui/FormAbout.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/DialogTestSupport.h"
#include "tivo/WebAddresses.h"

namespace quorvella {
namespace {

using test::Find;
using test::RecordingDesktop;

TEST(FormAbout, TheTradeMarkSignFollowsTheNameWithoutCoveringIt) {
  RecordingDesktop desktop;
  FormAbout about(desktop);
  auto* name = Find<QLabel>(about, "Label1");
  auto* mark = Find<QLabel>(about, "Label5");
  EXPECT_EQ(mark->x(), name->x() + name->sizeHint().width());
  EXPECT_EQ(mark->y(), name->y());
}

TEST(FormAbout, TheLinkOpensTheLowerCasedAddressAndTheBoxStaysOpen) {
  RecordingDesktop desktop;
  FormAbout about(desktop);
  about.show();
  auto* link = Find<QLabel>(about, "LabLink");
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(link->font().underline());
  QTest::mouseClick(link, Qt::LeftButton);
  link->setText(QStringLiteral("HTTPS://WWW.Brenlow-Software.Example/Quorvella/"));
  QTest::mouseClick(link, Qt::LeftButton);
  // A click elsewhere in the box opens nothing.
  QTest::mouseClick(Find<QLabel>(about, "Label6"), Qt::LeftButton);
  EXPECT_EQ(desktop.opened, (std::vector<std::string>{
                                std::string(HomePageAddress),
                                "https://www.brenlow-software.example/quorvella/"}));
  EXPECT_TRUE(about.isVisible());
}

}  // namespace
}  // namespace quorvella
