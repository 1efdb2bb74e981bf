// SPDX-License-Identifier: MIT
#include "platform/Heap.h"

#include <malloc.h>

namespace quorvella {

void ShareOneHeap() {
#ifdef M_ARENA_MAX
  mallopt(M_ARENA_MAX, 1);
#endif
}

}  // namespace quorvella
