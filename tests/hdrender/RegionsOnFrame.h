#pragma once

#include <QRect>
#include <cstdint>
#include <vector>

#include "hdrender/RgbaRegion.h"

namespace tesmora {

// The smallest rectangle holding every region.
inline QRect BoundsOf(const std::vector<RgbaRegion>& regions) {
  QRect bounds;
  for (const RgbaRegion& region : regions) {
    bounds |= QRect(region.x, region.y, region.width, region.height);
  }
  return bounds;
}

// The regions laid over a black frame, RGB, three bytes a pixel.
inline std::vector<std::uint8_t> OverBlack(const std::vector<RgbaRegion>& regions, int width,
                                           int height) {
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(width) * height * 3, 0);
  for (const RgbaRegion& region : regions) {
    for (int row = 0; row < region.height; ++row) {
      for (int column = 0; column < region.width; ++column) {
        const Rgba& pixel = region.pixel(column, row);
        const int p[4] = {pixel.r, pixel.g, pixel.b, pixel.a};
        std::uint8_t* out =
            frame.data() +
            (static_cast<std::size_t>(region.y + row) * width + region.x + column) * 3;
        for (int c = 0; c < 3; ++c) {
          out[c] = static_cast<std::uint8_t>((p[c] * p[3] + 127) / 255);
        }
      }
    }
  }
  return frame;
}

// The sum of the alpha of every pixel: how much ink the regions hold.
inline long long InkOf(const std::vector<RgbaRegion>& regions) {
  long long ink = 0;
  for (const RgbaRegion& region : regions) {
    for (const Rgba& pixel : region.pixels) {
      ink += pixel.a;
    }
  }
  return ink;
}

}  // namespace tesmora
