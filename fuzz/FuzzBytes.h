#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tesmora::fuzz {

// Takes a fuzzer's bytes from the front: choices first, then the rest as
// text. Past the end every number reads as 0.
class FuzzBytes {
 public:
  FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Little end first; each byte is taken in its own statement, as the
  // operands of one expression may be read in any order.
  std::uint16_t u16() {
    const std::uint16_t low = byte();
    return static_cast<std::uint16_t>(low | byte() << 8);
  }
  std::uint32_t u32() {
    const std::uint32_t low = u16();
    return low | std::uint32_t{u16()} << 16;
  }
  // One of `count` choices.
  std::size_t pick(std::size_t count) { return byte() % count; }
  std::string_view rest() {
    const std::string_view text(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
    at_ = size_;
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace tesmora::fuzz
