#pragma once

#include <cstdint>
#include <vector>

namespace tesmora::pgs {

// One pixel with straight (not premultiplied) alpha; alpha 0 is transparent
// whatever the colour bytes hold.
struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;

  friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A picture row by row, top to bottom, `width` pixels a row.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Rgba& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A picture of palette indices, row by row.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;
};

}  // namespace tesmora::pgs
