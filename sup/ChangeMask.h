#pragma once

#include <array>
#include <cstdint>

#include "render/FrameBitmap.h"

namespace tesmora {

// Where the colour changes along the examined part of a row, pixels 0 to 718:
// bit p is set when pixel p + 1 differs from pixel p in any of its bytes, for
// p = 0 to 717; every other bit is clear.
struct ChangeMask {
  static constexpr int kExaminedPixels = FrameBitmap::kWidth - 1;
  static constexpr int kBits = kExaminedPixels - 1;
  static constexpr int kWords = (kBits + 63) / 64;

  std::array<std::uint64_t, kWords> words;
};

// Builds the mask of a row of 720 RGB pixels with the fastest code the
// processor is sure to have (SSE2 on x86-64), or else with
// BuildChangeMaskPortable. Reads no byte outside the row.
void BuildChangeMask(const std::uint8_t* row, ChangeMask& mask);

// The same with 64-bit integer arithmetic only, for any processor.
void BuildChangeMaskPortable(const std::uint8_t* row, ChangeMask& mask);

}  // namespace tesmora
