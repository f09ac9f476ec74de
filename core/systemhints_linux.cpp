#include "systemhints.h"

#include <fcntl.h>
#include <malloc.h>

namespace skelvor {

void tuneHeap(HeapUse use) {
#if defined(__GLIBC__)
  switch (use) {
    case HeapUse::Window:
      // Large blocks (a fix file, a list's array, a GPX body) get pages of their own, which go back to the system when
      // the block is freed and grow without copying. By default the C library raises this limit each time such a
      // block is freed, after which the next large blocks come from the shared heap, are copied as they grow and
      // leave holes.
      mallopt(M_MMAP_THRESHOLD, 1 << 20);
      break;
    case HeapUse::Export:
      // The large blocks an export frees (a file's lines, a country's rows once sorted) are kept for the blocks that
      // follow, which spares the system clearing fresh pages for them.
      mallopt(M_MMAP_THRESHOLD, 64 << 20);
      mallopt(M_TRIM_THRESHOLD, 64 << 20);
      break;
  }
#else
  static_cast<void>(use);
#endif
}

void startWriteback(int handle, std::int64_t offset, std::int64_t length) {
  ::sync_file_range(handle, offset, length, SYNC_FILE_RANGE_WRITE);
}

}  // namespace skelvor
