// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <cstddef>

#include "ui/StatusDelegate.h"

namespace quorvella {

// Paints a playlist's name cell (check box, kind image, name) as the
// standard delegate does, but keeps the names' glyph layouts and the cell's
// geometry. While a run works, the list scrolls to each row in turn and its
// name cells are painted again and again; laying them out anew each time
// cost more than the status cells beside them. Any cell this does not
// expect (focus frame, right to left, a name too wide) is painted the
// standard way.
class NameDelegate final : public StatusDelegate {
 public:
  using StatusDelegate::StatusDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  // Where the parts of a cell of one size and kind go, from its top left
  // (rows with and without an image differ).
  struct Geometry {
    QSize size;
    int features = -1;
    QSize decorationSize;
    QRect check;
    QRect decoration;
    QRect text;
  };
  const Geometry& Placed(const QStyleOptionViewItem& opt) const;

  mutable std::array<Geometry, 4> geometry_;
  mutable std::size_t next_ = 0;
};

}  // namespace quorvella
