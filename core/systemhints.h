#pragma once

#include <cstdint>

namespace skelvor {

// What Skelvor asks of the system beyond Qt: hints that make a run faster or leaner and never change what it does or
// writes. Linux has a road of its own (systemhints_linux.cpp); Windows and every other system take the plain road
// (systemhints_generic.cpp), with the same outcome.

/// How a program uses the heap's large blocks.
enum class HeapUse {
  Window,  ///< a long run: each large block gets pages of its own, which go back to the system when it is freed
  Export,  ///< a short run: the large blocks it frees are kept for the blocks that follow, and all goes back at the end
};

/// Tunes the C library's heap for `use`, where the library has such settings; called first thing in `main`.
void tuneHeap(HeapUse use);

/// Has the system start putting `length` bytes of the open file `handle` from `offset` on the disk without waiting
/// for them, where it offers that; elsewhere they go at the final flush, as every write does.
void startWriteback(int handle, std::int64_t offset, std::int64_t length);

}  // namespace skelvor
