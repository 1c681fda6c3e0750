#include "sup/LineRuns.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tesmora {
namespace {

constexpr int kBpp = FrameBitmap::kBytesPerPixel;
constexpr int kRunPixels = FrameBitmap::kWidth - 1;  // pixel 719 is not examined
constexpr int kRunBytes = kRunPixels * kBpp;
constexpr int kMaskWords = (kRunPixels + 63) / 64;

// One bit per pixel 0 to 718: bit x is set when pixel x differs from its left
// neighbour. Built without a branch per pixel, so the cost of a line does not
// depend on how its colours change.
using ChangeMask = std::array<std::uint64_t, kMaskWords>;

// The pixel's three bytes as one number; reads one byte past the pixel, which
// every pixel but the last of a row has.
std::uint32_t PackedPixelAt(const std::uint8_t* row, int x) {
  std::uint32_t value;
  std::memcpy(&value, row + x * kBpp, sizeof value);
  if constexpr (std::endian::native == std::endian::big) {
    value = __builtin_bswap32(value);
  }
  return value & 0xFFFFFF;
}

// Bits for pixels first to end - 1 of one mask word, bit 0 for pixel first.
template <int kCount>
std::uint64_t ChangeBits(const std::uint8_t* row, int first, std::uint32_t& left) {
  std::uint64_t bits = 0;
#pragma GCC unroll 16
  for (int k = 0; k < kCount; ++k) {
    const std::uint32_t pixel = PackedPixelAt(row, first + k);
    bits |= static_cast<std::uint64_t>(pixel != left) << k;
    left = pixel;
  }
  return bits;
}

void BuildChangeMask(const std::uint8_t* row, ChangeMask& mask) {
  constexpr int kFullWords = kRunPixels / 64;
  std::uint32_t left = PackedPixelAt(row, 0);  // pixel 0 has no left neighbour
  for (int word = 0; word < kFullWords; ++word) {
    mask[word] = ChangeBits<64>(row, word * 64, left);
  }
  mask[kFullWords] = ChangeBits<kRunPixels % 64>(row, kFullWords * 64, left);
}

}  // namespace

void BuildLineRunsInto(const std::uint8_t* row, const RoleKeyColours& keys,
                       std::vector<PixelRun>& runs) {
  const PackedKeys packed(keys);
  runs.clear();
  if (std::memcmp(row + kBpp, row, kRunBytes - kBpp) == 0) {
    // One colour across the line, the common case around and between text.
    runs.push_back({kRunPixels, ClassifyPacked(PackedPixelAt(row, 0), packed)});
    return;
  }
  ChangeMask mask;
  BuildChangeMask(row, mask);
  int start = 0;
  for (int word = 0; word < kMaskWords; ++word) {
    for (std::uint64_t bits = mask[word]; bits != 0; bits &= bits - 1) {
      const int next = word * 64 + std::countr_zero(bits);
      runs.push_back({next - start, ClassifyPacked(PackedPixelAt(row, start), packed)});
      start = next;
    }
  }
  runs.push_back({kRunPixels - start, ClassifyPacked(PackedPixelAt(row, start), packed)});
  // With equal first pixels the line is written shifted one pixel left.
  if (runs.front().length >= 2) {
    runs.front().length -= 1;
    runs.back().length += 1;
  }
}

std::vector<PixelRun> BuildLineRuns(const FrameBitmap& frame, int line,
                                    const RoleKeyColours& keys) {
  std::vector<PixelRun> runs;
  BuildLineRunsInto(frame.row(line), keys, runs);
  return runs;
}

}  // namespace tesmora
