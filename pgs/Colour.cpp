#include "pgs/Colour.h"

#include <algorithm>
#include <cmath>

namespace tesmora::pgs {
namespace {

struct Coefficients {
  double kr;
  double kb;
};

Coefficients CoefficientsOf(ColourSpace space) {
  switch (space) {
    case ColourSpace::Bt601:
      return {0.299, 0.114};
    case ColourSpace::Bt709:
      return {0.2126, 0.0722};
    case ColourSpace::Bt2020Pq:
      return {0.2627, 0.0593};
  }
  return {0.2126, 0.0722};
}

std::uint8_t ToByte(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// The PQ code value (0-1) of an absolute luminance in nits.
double PerceptualQuantiser(double nits) {
  constexpr double m1 = 2610.0 / 16384.0;
  constexpr double m2 = 2523.0 / 4096.0 * 128.0;
  constexpr double c1 = 3424.0 / 4096.0;
  constexpr double c2 = 2413.0 / 4096.0 * 32.0;
  constexpr double c3 = 2392.0 / 4096.0 * 32.0;
  const double y = std::pow(std::clamp(nits / 10000.0, 0.0, 1.0), m1);
  return std::pow((c1 + c2 * y) / (1.0 + c3 * y), m2);
}

struct Signal {
  double r;
  double g;
  double b;
};

// The picture's RGB as PQ-coded BT.2020 signal values.
Signal ToPqBt2020(Rgba colour) {
  const auto linear = [](std::uint8_t v) { return std::pow(v / 255.0, 2.4); };
  const double r = linear(colour.r);
  const double g = linear(colour.g);
  const double b = linear(colour.b);
  // BT.709 primaries to BT.2020 primaries (BT.2087), on linear light.
  const double r2 = 0.6274 * r + 0.3293 * g + 0.0433 * b;
  const double g2 = 0.0691 * r + 0.9195 * g + 0.0114 * b;
  const double b2 = 0.0164 * r + 0.0880 * g + 0.8956 * b;
  return {PerceptualQuantiser(r2 * kHdrWhiteNits), PerceptualQuantiser(g2 * kHdrWhiteNits),
          PerceptualQuantiser(b2 * kHdrWhiteNits)};
}

}  // namespace

YCrCbA ToYCrCbA(Rgba colour, ColourSpace space) {
  Signal signal{colour.r / 255.0, colour.g / 255.0, colour.b / 255.0};
  if (space == ColourSpace::Bt2020Pq) {
    signal = ToPqBt2020(colour);
  }
  const Coefficients k = CoefficientsOf(space);
  const double luma = k.kr * signal.r + (1.0 - k.kr - k.kb) * signal.g + k.kb * signal.b;
  const double cb = (signal.b - luma) / (2.0 * (1.0 - k.kb));
  const double cr = (signal.r - luma) / (2.0 * (1.0 - k.kr));
  return {ToByte(16.0 + 219.0 * luma), ToByte(128.0 + 224.0 * cr), ToByte(128.0 + 224.0 * cb),
          colour.a};
}

ColourSpace StandardSpaceForHeight(int height) {
  return height > 576 ? ColourSpace::Bt709 : ColourSpace::Bt601;
}

}  // namespace tesmora::pgs
