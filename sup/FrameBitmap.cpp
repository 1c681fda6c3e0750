#include "sup/FrameBitmap.h"

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
  for (std::size_t i = 0; i < bytes_.size(); i += kBytesPerPixel) {
    bytes_[i] = colour.r;
    bytes_[i + 1] = colour.g;
    bytes_[i + 2] = colour.b;
  }
}

}  // namespace tesmora
