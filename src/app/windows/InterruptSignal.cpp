// SPDX-License-Identifier: MIT
#include "app/InterruptSignal.h"

#include <windows.h>

#include <atomic>

// The console calls the handler on a thread of its own; returning FALSE
// passes the event on to the default handler, which ends the process.
namespace quorvella {
namespace {

std::atomic<bool> gInterrupted{false};

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // The second Ctrl+C ends the program at once.
  return gInterrupted.exchange(true) ? FALSE : TRUE;
}

}  // namespace

bool CatchInterrupt() {
  gInterrupted = false;
  return SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
}

void ReleaseInterrupt() { SetConsoleCtrlHandler(OnConsoleControl, FALSE); }

bool Interrupted() { return gInterrupted; }

void EndAsInterrupted() {
  ReleaseInterrupt();
  // The status a console program ended by Ctrl+C has.
  ExitProcess(STATUS_CONTROL_C_EXIT);
}

}  // namespace quorvella
