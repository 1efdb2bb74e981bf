// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include "engine/EventPump.h"

namespace quorvella {

// Lets the window handle pending input during long work. Asking the event
// loop costs microseconds even when nothing waits, which adds up over a
// library of 100,000 songs; asking at most every few milliseconds keeps
// clicks (Stop among them) as quick to take effect as the eye can tell.
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
