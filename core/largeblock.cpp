#include "largeblock.h"

#include <cstdint>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace skelvor {

namespace {

// Below this, the few pages a buffer takes cost little and a mapping of its own is not worth its set-up.
constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

LargeBlock::LargeBlock(std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (bytes >= kLargePage) {
    // Large pages start on a boundary of their size and cover it whole: the block is made a whole number of them, in a
    // mapping one page longer, from the first boundary in it.
    bytes = (bytes + kLargePage - 1) & ~(kLargePage - 1);
    const std::size_t length = bytes + kLargePage;
    void* const mapping = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping != MAP_FAILED) {
      const auto start = (reinterpret_cast<std::uintptr_t>(mapping) + kLargePage - 1) & ~(kLargePage - 1);
      data_ = reinterpret_cast<void*>(start);
      madvise(data_, bytes, MADV_HUGEPAGE);  // a request only: without large pages the mapping works as it is
      mapping_ = mapping;
      mapped_ = length;
      return;
    }
  }
#endif
  data_ = ::operator new(bytes);
}

LargeBlock::LargeBlock(LargeBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      mapping_(std::exchange(other.mapping_, nullptr)),
      mapped_(std::exchange(other.mapped_, 0)) {}

LargeBlock& LargeBlock::operator=(LargeBlock&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    mapping_ = std::exchange(other.mapping_, nullptr);
    mapped_ = std::exchange(other.mapped_, 0);
  }
  return *this;
}

LargeBlock::~LargeBlock() { release(); }

void LargeBlock::release() {
  if (data_ == nullptr) return;
#if defined(__linux__)
  if (mapping_ != nullptr) {
    munmap(mapping_, mapped_);
    data_ = mapping_ = nullptr;
    return;
  }
#endif
  ::operator delete(data_);
  data_ = nullptr;
}

}  // namespace skelvor
