#pragma once

#include <cstdint>
#include <vector>

#include "core/Rgba.h"

namespace tesmora {

// A rectangle of a frame with its picture: straight (not premultiplied)
// RGBA pixels, rows top to bottom without padding. (x, y) is
// its top-left corner on the frame.
struct RgbaRegion {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  const Rgba& pixel(int column, int row) const {
    return pixels[static_cast<std::size_t>(row) * width + column];
  }

  friend bool operator==(const RgbaRegion&, const RgbaRegion&) = default;
};

}  // namespace tesmora
