// SPDX-License-Identifier: MIT
#include "ui/WrappingLabel.h"

#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace quorvella {
namespace {

// How wide the label would like to be when nothing else decides: about a
// short paragraph's line.
constexpr int kPreferredColumns = 60;
constexpr int kMinimumColumns = 12;

}  // namespace

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

int WrappingLabel::HorizontalFrame() const {
  const QMargins m = contentsMargins();
  return m.left() + m.right();
}

int WrappingLabel::VerticalFrame() const {
  const QMargins m = contentsMargins();
  return m.top() + m.bottom();
}

int WrappingLabel::Arrange(QTextLayout& layout, int width) const {
  QTextOption option(Qt::AlignLeft);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setFont(font());
  layout.setTextOption(option);
  layout.setText(text());
  const qreal leading = QFontMetricsF(font()).leading();
  qreal height = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(std::max(1, width));
    height += leading;
    line.setPosition(QPointF(0, height));
    height += line.height();
  }
  layout.endLayout();
  return static_cast<int>(std::ceil(height));
}

int WrappingLabel::heightForWidth(int width) const {
  QTextLayout layout;
  const int lines = Arrange(layout, width - HorizontalFrame());
  return std::max(lines, fontMetrics().height()) + VerticalFrame();
}

QSize WrappingLabel::sizeHint() const {
  const int natural = fontMetrics().horizontalAdvance(text()) + 1;
  const int width =
      std::min(natural, fontMetrics().averageCharWidth() * kPreferredColumns) + HorizontalFrame();
  return {width, heightForWidth(width)};
}

QSize WrappingLabel::minimumSizeHint() const {
  const int width = fontMetrics().averageCharWidth() * kMinimumColumns + HorizontalFrame();
  return {width, fontMetrics().height() + VerticalFrame()};
}

QRect WrappingLabel::TextRect(int start, int length) const {
  QTextLayout layout;
  Arrange(layout, contentsRect().width());
  const QTextLine line = layout.lineForTextPosition(start);
  if (!line.isValid()) return {};
  const int end = std::min(start + length, line.textStart() + line.textLength());
  const qreal left = line.cursorToX(start);
  const qreal right = line.cursorToX(end);
  const QRectF area(left, line.y(), right - left, line.height());
  return area.toAlignedRect().translated(contentsRect().topLeft());
}

void WrappingLabel::SetHiddenRange(int start, int length) {
  hiddenStart_ = start;
  hiddenLength_ = length;
  update();
}

void WrappingLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  QTextLayout layout;
  Arrange(layout, contentsRect().width());
  const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
  painter.setPen(palette().color(group, foregroundRole()));
  QList<QTextLayout::FormatRange> formats;
  if (hiddenLength_ > 0) {
    QTextLayout::FormatRange hidden;
    hidden.start = hiddenStart_;
    hidden.length = hiddenLength_;
    hidden.format.setForeground(Qt::transparent);
    formats.append(hidden);
  }
  painter.setClipRect(contentsRect());
  layout.draw(&painter, contentsRect().topLeft(), formats);
}

}  // namespace quorvella
