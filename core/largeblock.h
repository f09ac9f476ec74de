#pragma once

#include <cstddef>

namespace skelvor {

/// Room for a buffer of several megabytes that is filled once. Where the system offers large pages (Linux), they are
/// asked for: the buffer is then filled with a few page faults instead of one per 4 KiB, which is most of the cost of
/// filling it. Elsewhere, and for small sizes, it is plain heap memory. The bytes start uninitialised.
class LargeBlock {
 public:
  LargeBlock() = default;
  explicit LargeBlock(std::size_t bytes);
  LargeBlock(LargeBlock&& other) noexcept;
  LargeBlock& operator=(LargeBlock&& other) noexcept;
  LargeBlock(const LargeBlock&) = delete;
  LargeBlock& operator=(const LargeBlock&) = delete;
  ~LargeBlock();

  void* data() const { return data_; }

 private:
  void release();

  void* data_ = nullptr;
  void* mapping_ = nullptr;  // the mapping that holds the block, or none for heap memory
  std::size_t mapped_ = 0;   // its size
};

}  // namespace skelvor
