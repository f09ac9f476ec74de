#include "systemhints.h"

// The plain road, Windows's: the system's heap as it is. What a run does and writes is the same as on Linux.

namespace skelvor {

void tuneHeap() {}

}  // namespace skelvor
