// SPDX-License-Identifier: MIT
#include "platform/Heap.h"

namespace quorvella {

// The process heap is already the one every thread allocates from.
void ShareOneHeap() {}

}  // namespace quorvella
