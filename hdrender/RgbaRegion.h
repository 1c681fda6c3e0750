#pragma once

#include <cstdint>
#include <vector>

namespace tesmora {

// A rectangle of a frame with its picture: straight (not premultiplied)
// RGBA, four bytes a pixel, rows top to bottom without padding. (x, y) is
// its top-left corner on the frame.
struct RgbaRegion {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;

  const std::uint8_t* pixel(int column, int row) const {
    return rgba.data() + (static_cast<std::size_t>(row) * width + column) * 4;
  }

  friend bool operator==(const RgbaRegion&, const RgbaRegion&) = default;
};

}  // namespace tesmora
