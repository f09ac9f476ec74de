#include "largeblock.h"

#include "systemhints.h"

#include <new>
#include <utility>

namespace skelvor {

LargeBlock::LargeBlock(std::size_t bytes) {
  const LargePages pages = mapLargePages(bytes);
  if (pages.data != nullptr) {
    data_ = pages.data;
    mapping_ = pages.mapping;
    mapped_ = pages.length;
    return;
  }
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
  if (mapping_ != nullptr)
    unmapLargePages({data_, mapping_, mapped_});
  else
    ::operator delete(data_);
  data_ = mapping_ = nullptr;
}

}  // namespace skelvor
