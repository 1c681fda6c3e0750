#pragma once

#include <cstdint>
#include <vector>

#include "core/Rgba.h"

namespace tesmora::pgs {

// The pixel type every stage exchanges pictures in.
using tesmora::Rgba;

// A picture row by row, top to bottom, `width` pixels a row.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Rgba& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A row's pixels of one palette index, side by side.
struct IndexRun {
  std::uint32_t length = 0;
  std::uint8_t index = 0;

  friend bool operator==(const IndexRun&, const IndexRun&) = default;
};

// A picture of palette indices, row by row.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;
};

}  // namespace tesmora::pgs
