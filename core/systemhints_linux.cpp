#include "systemhints.h"

#include <malloc.h>

namespace skelvor {

void tuneHeap() {
#if defined(__GLIBC__)
  // By default the C library raises this limit each time a large block is freed, after which the next large blocks
  // come from the shared heap, are copied as they grow and leave holes.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

}  // namespace skelvor
