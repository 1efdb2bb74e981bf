// SPDX-License-Identifier: MIT
#include "ui/FormAbout.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "tivo/WebAddresses.h"
#include "ui/DialogTestSupport.h"

namespace quorvella {
namespace {

using test::Find;

// The trade mark sign follows the name without covering it; the link looks
// like one (its hand cursor: the Options tests) and opens its address
// lower-cased, and the box stays open.
TEST(FormAbout, TheMarkFollowsTheNameAndTheLinkOpensItsAddress) {
  test::RecordingDesktop desktop;
  FormAbout about(desktop);
  about.show();
  auto* name = Find<QLabel>(about, "Label1");
  EXPECT_EQ(Find<QLabel>(about, "Label5")->pos(), QPoint(name->x() + name->sizeHint().width(), name->y()));
  auto* link = Find<QLabel>(about, "LabLink");
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(link->font().underline());
  QTest::mouseClick(link, Qt::LeftButton);
  link->setText(QStringLiteral("HTTPS://WWW.Brenlow-Software.Example/Quorvella/"));
  QTest::mouseClick(link, Qt::LeftButton);
  QTest::mouseClick(Find<QLabel>(about, "Label6"), Qt::LeftButton);  // opens nothing
  EXPECT_EQ(desktop.opened, (std::vector<std::string>{
                                std::string(HomePageAddress), "https://www.brenlow-software.example/quorvella/"}));
  EXPECT_TRUE(about.isVisible());
}

}  // namespace
}  // namespace quorvella
