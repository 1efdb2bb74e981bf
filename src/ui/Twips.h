// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace quorvella {

// Gives a window the 8-point font its controls were laid out for; the larger
// default of most desktops would clip captions in their designed boxes.
void UseDesignFont(QWidget* form);

// Places the controls of a form designed in twips: 15 of them make one
// pixel at 96 dpi, and Qt scales pixels for the screen. The design was made for
// a narrower system font than most desktops use today, so before anything
// is placed the layout is stretched, across and down separately, by the
// least common factor (never below 1) that lets every caption in the form's
// own font fit its designed box. All controls keep their places relative to
// each other, and no caption is cut.
class TwipsLayout {
 public:
  TwipsLayout(QWidget* form, int clientWidth, int clientHeight);

  void Place(QWidget* control, int left, int top, int width, int height);
  // Stretches and places everything, and fixes the form's client size.
  void Apply();

  double Across() const { return across_; }
  double Down() const { return down_; }

 private:
  struct Placed {
    QWidget* control;
    QRect twips;
  };
  int X(int twips) const { return static_cast<int>(twips * across_) / 15; }
  int Y(int twips) const { return static_cast<int>(twips * down_) / 15; }

  QWidget* form_;
  QSize client_;
  std::vector<Placed> placed_;
  double across_ = 1.0;
  double down_ = 1.0;
};

}  // namespace quorvella
