// SPDX-License-Identifier: MIT
// Forms designed in twips open at their designed size at any dpi, and a
// caption wider than its box takes the room beside it before the form is
// stretched. ctest runs this file again at 120 dpi.
#include <QLabel>

#include "ui/Controls.h"
#include "ui/Twips.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

int Pixels(const QWidget& widget, int twips) { return twips * widget.logicalDpiX() / 1440; }

using Twips = test::Windows;

TEST_F(Twips, FormsOpenAtTheirDesignedSize) {
  const struct { test::Win window; const char* client; int width, height; } forms[] = {
      {test::Win::Pick, "", 9375, 5175}, {test::Win::Main, "ClientArea", 10455, 8655}};
  for (const auto& form : forms) {
    SCOPED_TRACE(test::Name(form.window));
    QWidget& window = Open(form.window);
    const QWidget* client = *form.client ? Get(form.client) : &window;
    EXPECT_EQ(client->size(), QSize(Pixels(*client, form.width), Pixels(*client, form.height)));
  }
  auto* list = Get<QTreeWidget>("ListPlaylists");
  EXPECT_EQ(list->columnWidth(0), Pixels(*list, 3750));
  EXPECT_EQ(list->columnWidth(1), Pixels(*list, 3750));
  // The two unnamed labels of the status frame keep their designed widths
  // unless their captions need more.
  for (const auto& [name, twips] : {std::pair{"Label2", 855}, std::pair{"Label3", 1095}}) {
    SCOPED_TRACE(name);
    const auto* label = Get<QLabel>(name);
    EXPECT_EQ(label->width(), std::max(Pixels(*label, twips), label->sizeHint().width()));
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
  QPushButton* wide = Button("A caption far too long for any box of this form, which must grow to show all of it");
  layout_.Place(wide, 240, 240, 5520, 375);
  layout_.Apply();
  EXPECT_GE(wide->width(), Caption(wide));
  EXPECT_LE(wide->width(), Caption(wide) + 2);
  EXPECT_NEAR(form_.width(), wide->x() * 2 + wide->width(), 2) << "both margins stretched alike";
  EXPECT_EQ(form_.height(), X(1500));
}

}  // namespace
}  // namespace quorvella
