#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace tesmora {

// Packs 4-bit values into bytes, the first nibble of each pair in the high
// half of the byte. The pending bits sit at the top of a 64-bit word that is
// stored whole after every put, so writing never branches on how many bytes
// became complete. The caller provides room for every byte it will write plus
// kSlack bytes that may be scribbled on.
class NibbleWriter {
 public:
  static constexpr int kSlack = 8;

  explicit NibbleWriter(std::uint8_t* out) : next_(out) {}

  // Writes the low `count` nibbles (1 to 4) of `value`, most significant first.
  void put(unsigned value, int count) {
    const int bits = 4 * count;
    pending_ |= static_cast<std::uint64_t>(value & ((1u << bits) - 1))
                << (64 - pendingBits_ - bits);
    pendingBits_ += bits;
    const std::uint64_t bigEndian =
        std::endian::native == std::endian::little ? ByteSwap(pending_) : pending_;
    std::memcpy(next_, &bigEndian, sizeof bigEndian);
    const int complete = pendingBits_ >> 3;
    next_ += complete;
    pending_ <<= 8 * complete;
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
  std::uint64_t pending_ = 0;
  int pendingBits_ = 0;
};

}  // namespace tesmora
