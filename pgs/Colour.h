#pragma once

#include <cstdint>

#include "pgs/RgbaPicture.h"

namespace tesmora::pgs {

// How palette colours are coded: the matrix of standard-definition video,
// that of HD video, or BT.2020 with the PQ curve for HDR10 video.
enum class ColourSpace {
  Bt601,
  Bt709,
  Bt2020Pq,
};

// A palette colour as the stream stores it: limited-range Y, Cr, Cb and
// straight alpha.
struct YCrCbA {
  std::uint8_t y = 16;
  std::uint8_t cr = 128;
  std::uint8_t cb = 128;
  std::uint8_t a = 0;

  friend bool operator==(const YCrCbA&, const YCrCbA&) = default;
};

// The luminance, in nits, that full-scale white of the pictures is given in
// HDR: the reference white of graphics, so white text is not blinding.
inline constexpr double kHdrWhiteNits = 203.0;

// The colour of an sRGB-coded pixel in the chosen space. Under HDR the
// picture's gamma-2.4 light is scaled so white is kHdrWhiteNits, moved to
// BT.2020 primaries and coded with the PQ curve.
YCrCbA ToYCrCbA(Rgba colour, ColourSpace space);

// The matrix SD and HD players read: BT.601 up to 576 lines, BT.709 above.
ColourSpace StandardSpaceForHeight(int height);

}  // namespace tesmora::pgs
