#include "systemhints.h"

// The plain road, Windows's: the system's heap as it is, heap memory for large blocks, and a file's bytes put on the
// disk when it is flushed. What a run does and writes is the same as on Linux.

namespace skelvor {

void tuneHeap(HeapUse) {}

LargePages mapLargePages(std::size_t) { return {}; }

void unmapLargePages(const LargePages&) {}

void startWriteback(int, std::int64_t, std::int64_t) {}

}  // namespace skelvor
