// SPDX-License-Identifier: MIT
#include "ui/Twips.h"

#include <QAbstractButton>
#include <QFont>
#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace quorvella {
namespace {

// The designs keep 240 twips between a form's (or a frame's) edge and its
// controls, and at least 120 between two controls of a row.
constexpr int kMargin = 240;
constexpr int kGap = 120;
constexpr int kTwipsPerInch = 1440;

// Whether text in a takes the room it takes in b (an underline takes none).
bool SameMetrics(const QFont& a, const QFont& b) {
  return a.family() == b.family() && a.pointSizeF() == b.pointSizeF() &&
         a.pixelSize() == b.pixelSize() && a.weight() == b.weight() && a.italic() == b.italic() &&
         a.stretch() == b.stretch();
}

int Right(const QRect& r) { return r.left() + r.width(); }
int Bottom(const QRect& r) { return r.top() + r.height(); }

}  // namespace

void UseDesignFont(QWidget* form) {
  QFont font = form->font();
  font.setPointSizeF(8.0);
  form->setFont(font);
}

TwipsLayout::TwipsLayout(QWidget* form, int clientWidth, int clientHeight)
    : form_(form), client_(clientWidth, clientHeight) {}

void TwipsLayout::Place(QWidget* control, int left, int top, int width, int height, Grow grow) {
  placed_.push_back({control, QRect(left, top, width, height), grow});
}

int TwipsLayout::X(int twips) const { return static_cast<int>(twips * across_ * pixelsPerTwipX_); }
int TwipsLayout::Y(int twips) const { return static_cast<int>(twips * down_ * pixelsPerTwipY_); }

QRect TwipsLayout::Designed(const Placed& p) const {
  // From edges, so that controls designed edge to edge stay so.
  const int left = X(p.twips.left());
  const int top = Y(p.twips.top());
  return QRect(left, top, X(p.twips.left() + p.twips.width()) - left,
               Y(p.twips.top() + p.twips.height()) - top);
}

int TwipsLayout::NeededWidth(const Placed& p) const {
  if (const auto* button = qobject_cast<const QAbstractButton*>(p.control)) {
    if (button->text().isEmpty()) return 0;
    return std::max(button->sizeHint().width(), button->minimumWidth());
  }
  // A label in a font of its own (a title, a sign) is sized by its owner.
  const auto* label = qobject_cast<const QLabel*>(p.control);
  if (label == nullptr || label->text().isEmpty() || label->wordWrap() ||
      !SameMetrics(label->font(), form_->font())) {
    return 0;
  }
  return label->sizeHint().width();
}

int TwipsLayout::NeededHeight(const Placed& p, int width) const {
  if (const auto* button = qobject_cast<const QAbstractButton*>(p.control)) {
    // Room for one line and the button's frame.
    return button->text().isEmpty() ? 0 : button->fontMetrics().height() + 4;
  }
  const auto* label = qobject_cast<const QLabel*>(p.control);
  if (label == nullptr || label->text().isEmpty() || !SameMetrics(label->font(), form_->font())) {
    return 0;
  }
  return label->wordWrap() ? label->heightForWidth(width) : label->sizeHint().height();
}

int TwipsLayout::ParentWidth(const Placed& p, const std::vector<QRect>& placed) const {
  const QWidget* parent = p.control->parentWidget();
  if (parent == form_) return X(client_.width());
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    if (placed_[i].control == parent) return placed[i].width();
  }
  return parent->width();
}

bool TwipsLayout::Fit(std::vector<QRect>& placed, double& wanted) const {
  const std::size_t count = placed_.size();
  std::vector<int> need(count);
  for (std::size_t i = 0; i < count; ++i) need[i] = NeededWidth(placed_[i]);
  // Buttons designed alike, in one row or one column, stay alike.
  for (std::size_t i = 0; i < count; ++i) {
    if (!qobject_cast<const QAbstractButton*>(placed_[i].control)) continue;
    for (std::size_t j = 0; j < count; ++j) {
      const QRect& a = placed_[i].twips;
      const QRect& b = placed_[j].twips;
      if (qobject_cast<const QAbstractButton*>(placed_[j].control) &&
          placed_[i].control->parentWidget() == placed_[j].control->parentWidget() &&
          a.width() == b.width() && (a.top() == b.top() || a.left() == b.left())) {
        need[i] = std::max(need[i], need[j]);
      }
    }
  }

  bool fits = true;
  for (std::size_t i = 0; i < count; ++i) {
    QRect& r = placed[i];
    if (need[i] <= r.width()) continue;
    // The room of its row: the parent's margins, or the nearest control on
    // either side as it stands now.
    int low = std::min(r.left(), X(kMargin));
    int high = std::max(Right(r), ParentWidth(placed_[i], placed) - X(kMargin));
    for (std::size_t j = 0; j < count; ++j) {
      const QRect& other = placed[j];
      if (j == i || placed_[j].control->parentWidget() != placed_[i].control->parentWidget() ||
          other.top() >= Bottom(r) || r.top() >= Bottom(other)) {
        continue;
      }
      if (other.left() >= Right(r)) {
        high = std::min(high, other.left() - X(kGap));
      } else if (Right(other) <= r.left()) {
        low = std::max(low, Right(other) + X(kGap));
      }
    }
    if (high - low < need[i]) {
      // One pixel more, against the rounding of the stretched edges.
      wanted = std::max(wanted, across_ * (need[i] + 1) / std::max(1, high - low));
      fits = false;
      continue;
    }
    const int left = placed_[i].grow == Grow::Right ? std::min(r.left(), high - need[i])
                                                    : std::max(low, Right(r) - need[i]);
    r = QRect(left, r.top(), need[i], r.height());
  }
  return fits;
}

void TwipsLayout::Apply() {
  pixelsPerTwipX_ = static_cast<double>(form_->logicalDpiX()) / kTwipsPerInch;
  pixelsPerTwipY_ = static_cast<double>(form_->logicalDpiY()) / kTwipsPerInch;
  across_ = 1.0;
  down_ = 1.0;
  std::vector<QRect> placed;
  const auto design = [&] {
    placed.clear();
    for (const Placed& p : placed_) placed.push_back(Designed(p));
  };
  // Each round stretches by what the tightest caption lacked; the room
  // beside a control grows with the stretch, so few rounds are needed.
  for (int round = 0; round < 10; ++round) {
    design();
    double wanted = across_;
    if (Fit(placed, wanted)) break;
    across_ = std::max(wanted, across_ + 0.001);
  }
  for (std::size_t i = 0; i < placed_.size(); ++i) {
    const int needed = NeededHeight(placed_[i], placed[i].width());
    if (needed > placed[i].height()) {
      down_ = std::max(down_, (needed + 1.0) / std::max(1, placed[i].height()));
    }
  }
  design();
  double unused = across_;
  Fit(placed, unused);
  for (std::size_t i = 0; i < placed_.size(); ++i) placed_[i].control->setGeometry(placed[i]);
  form_->setFixedSize(X(client_.width()), Y(client_.height()));
}

}  // namespace quorvella
