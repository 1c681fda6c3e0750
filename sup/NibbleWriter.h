#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace tesmora {

// Packs 4-bit values into bytes, the first nibble of each pair in the high
// half of the byte. Values are shifted in at the bottom of a 64-bit word, of
// which the low pendingBits_ bits are not yet complete bytes; after every put
// the word is stored whole, pending bits first, so writing never branches on
// how many bytes became complete. Bits above the pending ones are stale and
// fall away in the shift before the store. The caller provides room for every
// byte it will write plus kSlack bytes that may be scribbled on.
class NibbleWriter {
 public:
  static constexpr int kSlack = 8;

  explicit NibbleWriter(std::uint8_t* out) : next_(out) {}

  // Writes the low `count` nibbles (1 to 4) of `value`, most significant first.
  void put(unsigned value, int count) {
    const int bits = 4 * count;
    putBits(value & ((1u << bits) - 1), bits);
  }

  // Writes `value`, which has no bit set at or above `bits` (4, 8, 12 or 16),
  // most significant bit first.
  void putBits(unsigned value, int bits) {
    bits_ = bits_ << bits | value;
    pendingBits_ += static_cast<unsigned>(bits);  // 4 to 23, so the shift is below 64
    const std::uint64_t pendingFirst = bits_ << (64 - pendingBits_);
    const std::uint64_t bigEndian =
        std::endian::native == std::endian::little ? ByteSwap(pendingFirst) : pendingFirst;
    std::memcpy(next_, &bigEndian, sizeof bigEndian);
    next_ += pendingBits_ >> 3;
    pendingBits_ &= 7;
  }

  // True when a nibble waits for its partner.
  bool halfFilled() const { return pendingBits_ != 0; }

  // Completes a half-filled byte with a zero nibble.
  void padToByte() {
    if (halfFilled()) {
      put(0, 1);
    }
  }

  // One past the last complete byte written.
  std::uint8_t* end() const { return next_; }

 private:
  static std::uint64_t ByteSwap(std::uint64_t value) { return __builtin_bswap64(value); }

  std::uint8_t* next_;
  std::uint64_t bits_ = 0;
  unsigned pendingBits_ = 0;
};

}  // namespace tesmora
