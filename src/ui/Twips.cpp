// SPDX-License-Identifier: MIT
#include "ui/Twips.h"

#include <QFont>
#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace quorvella {
namespace {

// Whether text in a takes the room it takes in b (an underline takes none).
bool SameMetrics(const QFont& a, const QFont& b) {
  return a.family() == b.family() && a.pointSizeF() == b.pointSizeF() &&
         a.pixelSize() == b.pixelSize() && a.weight() == b.weight() && a.italic() == b.italic() &&
         a.stretch() == b.stretch();
}

}  // namespace

void UseDesignFont(QWidget* form) {
  QFont font = form->font();
  font.setPointSizeF(8.0);
  form->setFont(font);
}

TwipsLayout::TwipsLayout(QWidget* form, int clientWidth, int clientHeight)
    : form_(form), client_(clientWidth, clientHeight) {}

void TwipsLayout::Place(QWidget* control, int left, int top, int width, int height) {
  placed_.push_back({control, QRect(left, top, width, height)});
}

void TwipsLayout::Apply() {
  // Only captions in the form's font set the factors: a label in a font of
  // its own (a title, a sign) is sized by its owner.
  const auto captions = [this](auto&& each) {
    for (const Placed& p : placed_) {
      const auto* label = qobject_cast<const QLabel*>(p.control);
      if (label == nullptr || label->text().isEmpty() || !SameMetrics(label->font(), form_->font())) continue;
      each(*label, p.twips);
    }
  };
  across_ = 1.0;
  captions([this](const QLabel& label, const QRect& twips) {
    if (label.wordWrap()) return;
    across_ = std::max(across_, label.sizeHint().width() * 15.0 / twips.width());
  });
  down_ = 1.0;
  captions([this](const QLabel& label, const QRect& twips) {
    const int needed =
        label.wordWrap() ? label.heightForWidth(X(twips.width())) : label.sizeHint().height();
    down_ = std::max(down_, needed * 15.0 / twips.height());
  });
  for (const Placed& p : placed_) {
    p.control->setGeometry(X(p.twips.left()), Y(p.twips.top()), X(p.twips.width()),
                           Y(p.twips.height()));
  }
  form_->setFixedSize(X(client_.width()), Y(client_.height()));
}

}  // namespace quorvella
