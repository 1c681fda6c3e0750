#pragma once

#include <array>
#include <cstdint>

#include "sup/FrameBitmap.h"

namespace tesmora {

// Where the colour changes along the examined part of a row, pixels 0 to 718.
// Bit 3 * (x - 1) is set when pixel x differs from pixel x - 1 in any of its
// bytes, for x = 1 to 718; every other bit is clear. The bits keep the byte
// positions of the row because the mask is built by comparing the row with
// itself one pixel further on, byte for byte; folding each pixel's three
// bytes into its first bit is cheaper than gathering the bits together.
struct ChangeMask {
  static constexpr int kExaminedPixels = FrameBitmap::kWidth - 1;
  static constexpr int kBits = (kExaminedPixels - 1) * FrameBitmap::kBytesPerPixel;
  static constexpr int kWords = (kBits + 63) / 64;

  std::array<std::uint64_t, kWords> words;
};

// The pixel whose change the bit at `bit` marks.
constexpr unsigned ChangedPixelAt(unsigned bit) {
  return bit / FrameBitmap::kBytesPerPixel + 1;
}

// Builds the mask of a row of 720 RGB pixels with the fastest code the
// processor is sure to have (SSE2 on x86-64), or else with BuildChangeMaskPortable.
// Reads no byte outside the row.
void BuildChangeMask(const std::uint8_t* row, ChangeMask& mask);

// The same with 64-bit integer arithmetic only, for any processor.
void BuildChangeMaskPortable(const std::uint8_t* row, ChangeMask& mask);

}  // namespace tesmora
