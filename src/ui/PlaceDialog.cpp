// SPDX-License-Identifier: MIT
#include "ui/PlaceDialog.h"

#include <QPoint>
#include <QWidget>

namespace quorvella {

void PlaceDialog(const QWidget* owner, QWidget* dialog) {
  if (owner == nullptr || dialog == nullptr) return;
  constexpr int kOffset = 22;
  dialog->move(owner->window()->frameGeometry().topLeft() + QPoint(kOffset, kOffset));
}

}  // namespace quorvella
