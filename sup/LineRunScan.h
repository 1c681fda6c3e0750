#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "render/FrameBitmap.h"
#include "render/PixelCode.h"
#include "sup/ChangeMask.h"
#include "sup/PixelClassifier.h"

namespace tesmora {

// Pixel x of a row as one number, red in the low byte. Reads one byte past
// the pixel, which every pixel but the last of a row has.
inline std::uint32_t PackedPixelAt(const std::uint8_t* row, std::ptrdiff_t x) {
  std::uint32_t value;
  std::memcpy(&value, row + x * FrameBitmap::kBytesPerPixel, sizeof value);
  if constexpr (std::endian::native == std::endian::big) {
    value = __builtin_bswap32(value);
  }
  return value & 0xFFFFFF;
}

// Calls visit(length, code) for each run of one row of 720 RGB pixels, left
// to right, laid out as BuildLineRuns describes: runs of equal colour over
// pixels 0 to 718, shifted one pixel left when pixels 0 and 1 are equal.
// Kept in a header so that the visitor is inlined into the loop.
template <class Visit>
void ScanLineRuns(const std::uint8_t* row, const PackedKeys& keys, Visit&& visit) {
  constexpr unsigned kRunPixels = ChangeMask::kExaminedPixels;
  constexpr int kBpp = FrameBitmap::kBytesPerPixel;
  const PixelClassifier classify(keys);
  if (std::memcmp(row + kBpp, row, (kRunPixels - 1) * kBpp) == 0) {
    // One colour across the line, the common case around and between text.
    visit(kRunPixels, classify(PackedPixelAt(row, 0)));
    return;
  }
  ChangeMask mask;
  BuildChangeMask(row, mask);
  // Runs are tracked by the pixel before their first one, which is what a
  // change bit gives. With pixels 0 and 1 equal the first run is counted from
  // pixel 1 and the last run gets the pixel back; a run's code is that of its
  // first pixel, which is then the colour of pixel 0 as well.
  const std::ptrdiff_t shift = (mask.words[0] & 1) == 0 ? 1 : 0;
  const std::uint8_t* const afterRow = row + kBpp;  // pixel p + 1 is pixel p of this
  std::ptrdiff_t before = shift - 1;
  for (int word = 0; word < ChangeMask::kWords; ++word) {
    for (std::uint64_t bits = mask.words[word]; bits != 0; bits &= bits - 1) {
      const std::ptrdiff_t next = word * 64 + std::countr_zero(bits);
      visit(static_cast<unsigned>(next - before), classify(PackedPixelAt(afterRow, before)));
      before = next;
    }
  }
  visit(static_cast<unsigned>(kRunPixels - 1 + shift - before),
        classify(PackedPixelAt(afterRow, before)));
}

}  // namespace tesmora
