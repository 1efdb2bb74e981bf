// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/MessageBoxes.h"

namespace quorvella {

// Shows the program's message boxes as real QMessageBoxes, modal over their
// parent window, always titled "Quorvella".
class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  MsgAnswer Show(const Message& message) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace quorvella
