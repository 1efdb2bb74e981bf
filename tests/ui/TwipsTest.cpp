// SPDX-License-Identifier: MIT
// Forms designed in twips open at their designed size at any dpi, and a
// caption wider than its box takes the room beside it before the form is
// stretched. ctest runs this file again at 120 dpi.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "platform/LocalFileSystem.h"
#include "settings/MemoryRegistry.h"
#include "settings/RegUtil.h"
#include "settings/Settings.h"
#include "support/FakeLibrary.h"
#include "ui/Controls.h"
#include "ui/DialogTestSupport.h"
#include "ui/FormMain.h"
#include "ui/FormPickTiVoFolder.h"
#include "ui/Twips.h"

namespace quorvella {
namespace {

using test::Find;

int Pixels(const QWidget& widget, int twips) { return twips * widget.logicalDpiX() / 1440; }

TEST(Twips, FormsOpenAtTheirDesignedSize) {
  test::TempEnvironment env;
  MemoryRegistry registry;
  RegUtil reg(registry);
  Settings settings(reg);
  LocalFileSystem files;
  test::RecordingDesktop desktop;
  auto library = std::make_shared<test::FakeITunes>();
  FormMain main(FormMainServices{settings, reg, files, desktop, [] { return false; },
                                 [library](const std::string&) { return library; },
                                 [](const std::string&) {}});
  FormPickTiVoFolder pick(reg);
  const struct {
    const QWidget* client;
    int width, height;
  } forms[] = {{Find<QWidget>(main, "ClientArea"), 10455, 8655}, {&pick, 9375, 5175}};
  for (const auto& form : forms) {
    SCOPED_TRACE(form.client->objectName().toStdString());
    EXPECT_EQ(form.client->size(),
              QSize(Pixels(*form.client, form.width), Pixels(*form.client, form.height)));
  }
  auto* list = Find<QTreeWidget>(main, "ListPlaylists");
  EXPECT_EQ(list->columnWidth(0), Pixels(main, 3750));
  EXPECT_EQ(list->columnWidth(1), Pixels(main, 3750));
  // The two unnamed labels of the status frame keep their designed widths
  // unless their captions need more.
  const std::pair<const char*, int> labels[] = {{"Label2", 855}, {"Label3", 1095}};
  for (const auto& [name, twips] : labels) {
    SCOPED_TRACE(name);
    const auto* label = Find<QLabel>(main, name);
    EXPECT_EQ(label->width(), std::max(Pixels(main, twips), label->sizeHint().width()));
  }
}

// One form of 6000 by 1500 twips, its margins 240; the captions are long
// for their boxes of 1200 twips.
class TwipsLayoutTest : public ::testing::Test {
 protected:
  TwipsLayoutTest() { UseDesignFont(&form_); }
  QPushButton* Button(const char* caption) { return AddButton(&form_, caption, caption); }
  int X(double twips) const { return static_cast<int>(twips * form_.logicalDpiX() / 1440); }
  int Caption(const QPushButton* button) const { return button->sizeHint().width(); }

  QWidget form_;
  TwipsLayout layout_{&form_, 6000, 1500};
};

TEST_F(TwipsLayoutTest, ACaptionTakesTheRoomBesideItAndTheFormKeepsItsSize) {
  QPushButton* right = Button("A caption for a wider box");
  QPushButton* left = Button("Another caption, lined up right");
  layout_.Place(right, 240, 240, 1200, 375);
  layout_.Place(left, 4560, 960, 1200, 375, TwipsLayout::Grow::Left);
  layout_.Apply();
  ASSERT_GT(Caption(right), X(1200));
  EXPECT_EQ(right->geometry(), QRect(X(240), X(240), Caption(right), X(615) - X(240)));
  EXPECT_EQ(left->x() + left->width(), X(5760)) << "the right edge stays";
  EXPECT_EQ(left->width(), Caption(left));
  EXPECT_EQ(form_.size(), QSize(X(6000), X(1500)));
  EXPECT_EQ(layout_.Across(), 1.0);
}

TEST_F(TwipsLayoutTest, ButtonsDesignedAlikeInARowStayAlikeAndKeepClearOfEachOther) {
  QPushButton* first = Button("OK");
  QPushButton* second = Button("A much longer caption");
  layout_.Place(first, 240, 240, 1200, 375);
  // Its box ends at the margin: it moves left to show its caption.
  layout_.Place(second, 4560, 240, 1200, 375);
  layout_.Apply();
  EXPECT_EQ(first->width(), Caption(second));
  EXPECT_EQ(second->width(), Caption(second));
  EXPECT_EQ(second->x() + second->width(), X(6000 - 240));
  EXPECT_GE(second->x(), first->x() + first->width() + X(120));
  EXPECT_EQ(form_.size(), QSize(X(6000), X(1500)));
}

TEST_F(TwipsLayoutTest, WithoutRoomTheFormStretchesAsLittleAsTheCaptionNeeds) {
  QPushButton* wide =
      Button("A caption far too long for any box of this form, which must grow to show all of it");
  layout_.Place(wide, 240, 240, 5520, 375);
  layout_.Apply();
  EXPECT_GT(layout_.Across(), 1.0);
  EXPECT_EQ(layout_.Down(), 1.0);
  EXPECT_GE(wide->width(), Caption(wide));
  EXPECT_LE(wide->width(), Caption(wide) + 2);
  EXPECT_NEAR(form_.width(), wide->x() * 2 + wide->width(), 2) << "both margins stretched alike";
  EXPECT_EQ(form_.height(), X(1500));
}

}  // namespace
}  // namespace quorvella
