#include "render/FrameBitmap.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tesmora {

FrameBitmap::FrameBitmap(int height, Rgb fill_colour) : height_(height) {
  if (height < 1) {
    throw std::invalid_argument("a frame needs at least one row");
  }
  bytes_.resize(static_cast<std::size_t>(height) * kStride);
  fill(fill_colour);
}

Rgb FrameBitmap::pixel(int x, int y) const {
  const std::uint8_t* p = row(y) + x * kBytesPerPixel;
  return {p[0], p[1], p[2]};
}

void FrameBitmap::setPixel(int x, int y, Rgb colour) {
  std::uint8_t* p = row(y) + x * kBytesPerPixel;
  p[0] = colour.r;
  p[1] = colour.g;
  p[2] = colour.b;
}

void FrameBitmap::fill(Rgb colour) {
  fillRows(0, height_ - 1, colour);
}

void FrameBitmap::fillRows(int first, int last, Rgb colour) {
  first = std::max(first, 0);
  last = std::min(last, height_ - 1);
  if (first > last) {
    return;
  }
  std::uint8_t* top = row(first);
  for (int x = 0; x < kWidth; ++x) {
    top[x * kBytesPerPixel] = colour.r;
    top[x * kBytesPerPixel + 1] = colour.g;
    top[x * kBytesPerPixel + 2] = colour.b;
  }
  for (int y = first + 1; y <= last; ++y) {
    std::memcpy(row(y), top, kStride);
  }
}

}  // namespace tesmora
