// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include "platform/EventPump.h"

namespace quorvella {

// Lets the window handle pending input during long work. Each time it does,
// the window repaints what changed, which costs far more than a song takes to
// write; doing it every 40 ms (25 times a second) keeps the progress moving
// smoothly and a click on Stop as quick as the eye can tell.
class QtEventPump final : public EventPump {
 public:
  explicit QtEventPump(int intervalMs = 40) : intervalMs_(intervalMs) { clock_.start(); }

  void DoEvents() override {
    if (clock_.elapsed() < intervalMs_) return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    clock_.restart();
  }

 private:
  int intervalMs_;
  QElapsedTimer clock_;
};

}  // namespace quorvella
