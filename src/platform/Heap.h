// SPDX-License-Identifier: MIT
#pragma once

namespace quorvella {

// Has every thread of the program allocate from the one heap. The C library
// otherwise gives each thread that allocates a heap of its own, and what a
// reading thread freed there stays with the process: a watch whose passes
// each read the library with two threads kept growing with every pass.
// Each program calls it before it starts a thread.
void ShareOneHeap();

}  // namespace quorvella
