// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace quorvella {

// Gives a window the 8-point font its controls were laid out for; the larger
// default of most desktops would crowd captions in their designed boxes.
void UseDesignFont(QWidget* form);

// Places the controls of a form designed in twips. An inch has 1440 of
// them at any dpi: 15 make a pixel at 96 dpi and 12 at 120 dpi, so the form
// keeps its proportions when fonts are scaled with the dpi.
//
// The design was made for a narrower system font than most desktops use. A
// caption that does not fit its designed box takes free room beside it: to
// the right, or to the left for a control placed with Grow::Left (one that
// lines up with something on its right), up to the next control in its row
// or the form's margin. Buttons designed alike, in one row or one column,
// keep one width. Only when a caption does not fit even then is the whole
// layout stretched, across and down separately, by the least factor that
// fits it; so a form keeps its designed size wherever its captions allow,
// and no caption is cut.
class TwipsLayout {
 public:
  enum class Grow { Right, Left };

  TwipsLayout(QWidget* form, int clientWidth, int clientHeight);

  void Place(QWidget* control, int left, int top, int width, int height, Grow grow = Grow::Right);
  // Fits and places everything, and fixes the form's client size.
  void Apply();

 private:
  struct Placed {
    QWidget* control;
    QRect twips;
    Grow grow;
  };
  int X(int twips) const;
  int Y(int twips) const;
  QRect Designed(const Placed& p) const;
  // The width the control's caption needs, 0 for a control without one.
  int NeededWidth(const Placed& p) const;
  int NeededHeight(const Placed& p, int width) const;
  // The width its parent offers, within which the control may grow.
  int ParentWidth(const Placed& p, const std::vector<QRect>& placed) const;
  // Widens the placed rectangles where captions need it; false, with the
  // factor that would make room, when one does not fit.
  bool Fit(std::vector<QRect>& placed, double& wanted) const;

  QWidget* form_;
  QSize client_;
  std::vector<Placed> placed_;
  double pixelsPerTwipX_ = 1.0 / 15;
  double pixelsPerTwipY_ = 1.0 / 15;
  double across_ = 1.0;
  double down_ = 1.0;
};

}  // namespace quorvella
