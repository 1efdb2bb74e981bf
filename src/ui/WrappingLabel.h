// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <QTextOption>

class QTextLayout;

namespace quorvella {

// A label of plain text that wraps at word boundaries, and inside a word
// only when the word alone is longer than a line (a long path stays inside
// the label instead of running off its edge). It can tell where a part of
// its text is drawn and leave that part undrawn, so that another widget,
// such as a link, can stand in for those words.
class WrappingLabel final : public QLabel {
  Q_OBJECT
 public:
  explicit WrappingLabel(const QString& text, QWidget* parent = nullptr);

  // The rectangle, in this label's coordinates, in which the characters
  // [start, start + length) are drawn at the label's present width; the
  // part on the first line when they span two lines.
  QRect TextRect(int start, int length) const;
  // Leaves those characters undrawn (their space stays).
  void SetHiddenRange(int start, int length);

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Lays the text out in lines of the given width; gives the height used.
  int Arrange(QTextLayout& layout, int width) const;
  int HorizontalFrame() const;
  int VerticalFrame() const;

  int hiddenStart_ = 0;
  int hiddenLength_ = 0;
};

}  // namespace quorvella
