// SPDX-License-Identifier: MIT
#pragma once

// Ctrl+C during a publish run: the first one is only noted, so that the run
// finishes the playlist it is writing; a second one ends the program at once,
// as does one that comes when no run is going.
namespace quorvella {

// Starts noting Ctrl+C; false when the program was started with it ignored
// (in the background, under nohup), which it then keeps.
bool CatchInterrupt();
// Gives Ctrl+C its default action back.
void ReleaseInterrupt();
bool Interrupted();
// Ends the program as Ctrl+C does by default.
void EndAsInterrupted();

}  // namespace quorvella
