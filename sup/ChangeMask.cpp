#include "sup/ChangeMask.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tesmora {
namespace {

constexpr int kBpp = FrameBitmap::kBytesPerPixel;
constexpr int kBits = ChangeMask::kBits;
constexpr int kFullWords = kBits / 64;

// Keeps every third bit of `spread`, bits 0, 3, 6 and so on up to bit
// 3 * (kCount - 1), and packs them into bits 0 to kCount - 1.
template <int kCount>
std::uint64_t EveryThirdBit(std::uint64_t spread) {
  static_assert(kCount == 8 || kCount == 16);
  std::uint64_t x = spread & 0x1249249249249249;
  x = (x ^ (x >> 2)) & 0x10C30C30C30C30C3;
  x = (x ^ (x >> 4)) & 0x100F00F00F00F00F;
  x = (x ^ (x >> 8)) & 0x001F0000FF0000FF;
  if constexpr (kCount == 16) {
    x = (x ^ (x >> 16)) & 0x001F00000000FFFF;
  }
  return x & ((std::uint64_t{1} << kCount) - 1);
}

// Change bits of the kChunk pixels from `p` on: pixel i + 1 against pixel i
// for i = 0 to kChunk - 1. `equal(q)` gives one bit per byte of q[0] to
// q[kChunk - 1], set when the byte equals the same byte of the next pixel;
// three chunks of bytes make kChunk pixels, and a pixel is unchanged when all
// three of its bits are set.
template <int kChunk, class Equal>
std::uint64_t ChangedPixels(const std::uint8_t* p, Equal equal) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(equal(p)) |
                              static_cast<std::uint64_t>(equal(p + kChunk)) << kChunk |
                              static_cast<std::uint64_t>(equal(p + 2 * kChunk)) << 2 * kChunk;
  const std::uint64_t unchanged = EveryThirdBit<kChunk>(bytes & bytes >> 1 & bytes >> 2);
  return unchanged ^ ((std::uint64_t{1} << kChunk) - 1);
}

// Builds the mask kChunk pixels at a time. A last partial group is read
// ending at the last compared pixel rather than past it, so no byte beyond
// the row is read.
template <int kChunk, class Equal>
void BuildWith(const std::uint8_t* row, ChangeMask& mask, Equal equal) {
  static_assert(64 % kChunk == 0);
  const auto at = [row](int pixel) { return row + pixel * kBpp; };
  for (int word = 0; word < kFullWords; ++word) {
    std::uint64_t bits = 0;
#pragma GCC unroll 8
    for (int i = 0; i < 64 / kChunk; ++i) {
      bits |= ChangedPixels<kChunk>(at(word * 64 + i * kChunk), equal) << (i * kChunk);
    }
    mask.words[word] = bits;
  }
  std::uint64_t last = 0;
  int pixel = kFullWords * 64;
  for (; pixel + kChunk <= kBits; pixel += kChunk) {
    last |= ChangedPixels<kChunk>(at(pixel), equal) << (pixel % 64);
  }
  if (pixel < kBits) {
    const std::uint64_t tail =
        ChangedPixels<kChunk>(at(kBits - kChunk), equal) >> (pixel + kChunk - kBits);
    last |= tail << (pixel % 64);
  }
  mask.words[kFullWords] = last;
}

std::uint64_t LoadLittleEndian64(const std::uint8_t* bytes) {
  std::uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (std::endian::native == std::endian::big) {
    value = __builtin_bswap64(value);
  }
  return value;
}

// Bit i set when byte i of p equals byte i + 3, for i = 0 to 7.
unsigned EqualBytes8(const std::uint8_t* p) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
  const std::uint64_t diff = LoadLittleEndian64(p) ^ LoadLittleEndian64(p + kBpp);
  // The top bit of each byte that is not zero, without carries between bytes.
  const std::uint64_t nonzero = (((diff & kLow7) + kLow7) | diff) & ~kLow7;
  // Gathers the eight top bits into the top byte; no two products overlap.
  return static_cast<unsigned>(((nonzero >> 7) * 0x0102040810204080) >> 56) ^ 0xFF;
}

#if defined(__SSE2__)
// Bit i set when byte i of p equals byte i + 3, for i = 0 to 15.
unsigned EqualBytes16(const std::uint8_t* p) {
  const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + kBpp));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, next)));
}
#endif

}  // namespace

void BuildChangeMaskPortable(const std::uint8_t* row, ChangeMask& mask) {
  BuildWith<8>(row, mask, EqualBytes8);
}

void BuildChangeMask(const std::uint8_t* row, ChangeMask& mask) {
#if defined(__SSE2__)
  BuildWith<16>(row, mask, EqualBytes16);
#else
  BuildChangeMaskPortable(row, mask);
#endif
}

}  // namespace tesmora
