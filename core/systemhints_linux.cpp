#include "systemhints.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>

namespace skelvor {

namespace {

// The size of a large page. Below it, the few pages a buffer takes cost little and a mapping of its own is not worth
// its set-up.
constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

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

LargePages mapLargePages(std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
  if (bytes < kLargePage) return {};
  // Large pages start on a boundary of their size and cover it whole: the block is made a whole number of them, in a
  // mapping one page longer, from the first boundary in it.
  bytes = (bytes + kLargePage - 1) & ~(kLargePage - 1);
  const std::size_t length = bytes + kLargePage;
  void* const mapping = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) return {};
  const auto start = (reinterpret_cast<std::uintptr_t>(mapping) + kLargePage - 1) & ~(kLargePage - 1);
  void* const data = reinterpret_cast<void*>(start);
  madvise(data, bytes, MADV_HUGEPAGE);  // a request only: without large pages the mapping works as it is
  return {data, mapping, length};
#else
  static_cast<void>(bytes);
  return {};
#endif
}

void unmapLargePages(const LargePages& pages) {
  if (pages.mapping != nullptr) munmap(pages.mapping, pages.length);
}

void startWriteback(int handle, std::int64_t offset, std::int64_t length) {
  ::sync_file_range(handle, offset, length, SYNC_FILE_RANGE_WRITE);
}

}  // namespace skelvor
