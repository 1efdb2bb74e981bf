// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include "platform/EventPump.h"

namespace quorvella {

// Lets the window handle pending input during long work. Handling it costs
// some 15 microseconds even with nothing pending, as much as writing several
// songs, so between songs it is done at most every few milliseconds: a click
// on Stop is still seen before the eye could tell. A change the user must
// see (a row's new status) asks for the next call to handle them whatever
// the time: the row is painted at once, and a Stop pressed during a playlist
// is seen before the next one begins, so none is lost at the end of a run.
class QtEventPump final : public EventPump {
 public:
  explicit QtEventPump(int intervalMs = 5) : intervalMs_(intervalMs) { clock_.start(); }

  void DoEvents() override {
    if (!due_ && clock_.elapsed() < intervalMs_) return;
    due_ = false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    clock_.restart();
  }

  // The next DoEvents handles the events, however soon it comes.
  void HandleAtNextCall() { due_ = true; }

 private:
  int intervalMs_;
  bool due_ = false;
  QElapsedTimer clock_;
};

}  // namespace quorvella
