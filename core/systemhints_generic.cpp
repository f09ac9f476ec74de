#include "systemhints.h"

// The plain road, Windows's: the system's heap as it is, and a file's bytes put on the
// disk when it is flushed. What a run does and writes is the same as on Linux.

namespace skelvor {

void tuneHeap(HeapUse) {}

void startWriteback(int, std::int64_t, std::int64_t) {}

}  // namespace skelvor
