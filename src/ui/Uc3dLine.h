// SPDX-License-Identifier: MIT
#pragma once

#include <QLine>
#include <QWidget>

namespace quorvella {

// An etched horizontal separator: a line in the button shadow colour along
// the top edge and one in the button highlight colour just below it, across
// the whole width. The colours come from the palette, so the line follows
// the user's colour scheme. Its container only sizes and places it.
class Uc3dLine final : public QWidget {
  Q_OBJECT
 public:
  explicit Uc3dLine(QWidget* parent = nullptr);

  QSize sizeHint() const override { return {2, 2}; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void ArrangeLines();

  QLine lineTop_;
  QLine lineBottom_;
};

}  // namespace quorvella
