#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Rgb.h"

namespace tesmora {

// The key colour of an empty frame: every pixel the rasteriser leaves alone.
inline constexpr Rgb kPureBlue{0, 0, 255};

// A 720-pixel-wide 24-bit picture on which one subtitle is drawn. Rows are
// stored top to bottom, each as R, G, B bytes left to right, without padding,
// so a row is a plain byte range that the encoder can scan directly.
class FrameBitmap {
 public:
  static constexpr int kWidth = 720;
  static constexpr int kBytesPerPixel = 3;
  static constexpr int kStride = kWidth * kBytesPerPixel;

  // A frame of `height` rows filled with `fill`. Throws std::invalid_argument
  // for a height below 1.
  explicit FrameBitmap(int height, Rgb fill = kPureBlue);

  int width() const { return kWidth; }
  int height() const { return height_; }

  std::uint8_t* row(int y) { return bytes_.data() + static_cast<std::size_t>(y) * kStride; }
  const std::uint8_t* row(int y) const {
    return bytes_.data() + static_cast<std::size_t>(y) * kStride;
  }

  Rgb pixel(int x, int y) const;
  void setPixel(int x, int y, Rgb colour);
  void fill(Rgb colour);
  // Fills rows first to last (inclusive), cut to the frame.
  void fillRows(int first, int last, Rgb colour);

 private:
  int height_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace tesmora
