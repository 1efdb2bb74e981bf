// SPDX-License-Identifier: MIT
#include "app/InterruptSignal.h"

#include <csignal>

namespace quorvella {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

}  // namespace

bool CatchInterrupt() {
  gInterrupted = 0;
  struct sigaction previous {};
  sigaction(SIGINT, nullptr, &previous);
  if (previous.sa_handler == SIG_IGN) return false;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  // After the first Ctrl-C the default action is back, so a second one ends
  // the program at once. Interrupted writes to the terminal or a pipe restart
  // rather than lose output.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  return true;
}

void ReleaseInterrupt() { std::signal(SIGINT, SIG_DFL); }

bool Interrupted() { return gInterrupted != 0; }

void EndAsInterrupted() {
  std::signal(SIGINT, SIG_DFL);
  std::raise(SIGINT);
}

}  // namespace quorvella
