#pragma once

#include <cstdint>

namespace tesmora {

// One pixel with straight (not premultiplied) alpha; alpha 0 is transparent
// whatever the colour bytes hold. Four bytes in the order r, g, b, a, so a
// row of them is the RGBA byte layout pictures are exchanged in.
struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;

  friend bool operator==(const Rgba&, const Rgba&) = default;
};

static_assert(sizeof(Rgba) == 4);

}  // namespace tesmora
