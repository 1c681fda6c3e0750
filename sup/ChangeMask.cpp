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

// Bit k set when row byte k differs from byte k + 3, the same colour byte of
// the next pixel; one extra zero word so that every word has a successor.
using ByteDifferences = std::array<std::uint64_t, ChangeMask::kWords + 1>;

// Compares the row with itself one pixel further on, `kChunk` bytes at a
// time; `differing(p)` gives the bits of bytes p[0] to p[kChunk - 1]. A last
// partial chunk is read ending at the last compared byte rather than past
// it, so no byte beyond the row is read.
template <int kChunk, class Differing>
void CollectByteDifferences(const std::uint8_t* row, ByteDifferences& out, Differing differing) {
  static_assert(64 % kChunk == 0);
  for (int word = 0; word < kFullWords; ++word) {
    std::uint64_t bits = 0;
#pragma GCC unroll 8
    for (int i = 0; i < 64 / kChunk; ++i) {
      bits |= static_cast<std::uint64_t>(differing(row + word * 64 + i * kChunk)) << (i * kChunk);
    }
    out[word] = bits;
  }
  std::uint64_t last = 0;
  int bit = kFullWords * 64;
  for (; bit + kChunk <= kBits; bit += kChunk) {
    last |= static_cast<std::uint64_t>(differing(row + bit)) << (bit % 64);
  }
  if (bit < kBits) {
    const std::uint64_t tail = differing(row + kBits - kChunk) >> (bit + kChunk - kBits);
    last |= tail << (bit % 64);
  }
  for (int word = kFullWords; word < static_cast<int>(out.size()); ++word) {
    out[word] = word == kFullWords ? last : 0;
  }
}

// The bits of a word whose byte position is the first byte of a pixel. Word w
// starts at byte 64 * w, and 64 leaves 1 when divided by 3.
constexpr std::uint64_t PixelStarts(int word) {
  std::uint64_t bits = 0;
  for (int b = 0; b < 64; ++b) {
    if ((word + b) % kBpp == 0) {
      bits |= std::uint64_t{1} << b;
    }
  }
  return bits;
}

constexpr std::uint64_t kPixelStarts[kBpp] = {PixelStarts(0), PixelStarts(1), PixelStarts(2)};

// Moves the difference of any byte of a pixel onto the pixel's first byte.
void FoldToPixels(const ByteDifferences& bytes, ChangeMask& mask) {
  for (int word = 0; word < ChangeMask::kWords; ++word) {
    const std::uint64_t here = bytes[word];
    const std::uint64_t next = bytes[word + 1];
    const std::uint64_t any = here | (here >> 1 | next << 63) | (here >> 2 | next << 62);
    mask.words[word] = any & kPixelStarts[word % kBpp];
  }
}

std::uint64_t LoadLittleEndian64(const std::uint8_t* bytes) {
  std::uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (std::endian::native == std::endian::big) {
    value = __builtin_bswap64(value);
  }
  return value;
}

// Bit i set when byte i of p differs from byte i + 3, for i = 0 to 7.
unsigned DifferingBytes8(const std::uint8_t* p) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
  const std::uint64_t diff = LoadLittleEndian64(p) ^ LoadLittleEndian64(p + kBpp);
  // The top bit of each byte that is not zero, without carries between bytes.
  const std::uint64_t nonzero = (((diff & kLow7) + kLow7) | diff) & ~kLow7;
  // Gathers the eight top bits into the top byte; no two products overlap.
  return static_cast<unsigned>(((nonzero >> 7) * 0x0102040810204080) >> 56);
}

#if defined(__SSE2__)
// Bit i set when byte i of p differs from byte i + 3, for i = 0 to 15.
unsigned DifferingBytes16(const std::uint8_t* p) {
  const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + kBpp));
  return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, next))) & 0xFFFF;
}
#endif

}  // namespace

void BuildChangeMaskPortable(const std::uint8_t* row, ChangeMask& mask) {
  ByteDifferences bytes;
  CollectByteDifferences<8>(row, bytes, DifferingBytes8);
  FoldToPixels(bytes, mask);
}

void BuildChangeMask(const std::uint8_t* row, ChangeMask& mask) {
#if defined(__SSE2__)
  ByteDifferences bytes;
  CollectByteDifferences<16>(row, bytes, DifferingBytes16);
  FoldToPixels(bytes, mask);
#else
  BuildChangeMaskPortable(row, mask);
#endif
}

}  // namespace tesmora
