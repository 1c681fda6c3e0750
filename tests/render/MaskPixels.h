#pragma once

#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

#include "render/GlyphMask.h"

namespace tesmora::testing {

// Every set pixel of the mask as (y, x), row by row.
inline std::vector<std::pair<int, int>> MaskPixels(const GlyphMask& mask) {
  std::vector<std::pair<int, int>> pixels;
  const QRect& area = mask.area();
  for (int y = area.top(); y <= area.bottom() && mask.wordsPerRow() > 0; ++y) {
    const std::uint64_t* row = mask.row(y);
    for (int w = 0; w < mask.wordsPerRow(); ++w) {
      for (std::uint64_t bits = row[w]; bits != 0; bits &= bits - 1) {
        pixels.emplace_back(y, area.left() + 64 * w + std::countr_zero(bits));
      }
    }
  }
  return pixels;
}

}  // namespace tesmora::testing
