#include "sup/ChangeMask.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tesmora {
namespace {

using Builder = void (*)(const std::uint8_t*, ChangeMask&);

// The mask set pixel by pixel.
ChangeMask LiteralMask(const FrameBitmap& frame, int y) {
  ChangeMask mask{};
  for (int x = 1; x < ChangeMask::kExaminedPixels; ++x) {
    if (frame.pixel(x, y) != frame.pixel(x - 1, y)) {
      mask.words[(x - 1) / 64] |= std::uint64_t{1} << ((x - 1) % 64);
    }
  }
  return mask;
}

ChangeMask Built(Builder build, const FrameBitmap& frame, int y) {
  ChangeMask mask;
  mask.words.fill(0xA5A5A5A5A5A5A5A5);  // whatever the builder leaves unset shows
  build(frame.row(y), mask);
  return mask;
}

class ChangeMaskBuilders : public ::testing::TestWithParam<Builder> {};

TEST_P(ChangeMaskBuilders, MarksAChangeInAnyOneByteOfAPixel) {
  // The last row of the frame, so that a read past the row leaves the frame.
  FrameBitmap frame(2);
  for (int x : {1, 2, 20, 21, 22, 23, 63, 64, 127, 128, 700, 717, 718}) {
    for (int byte = 0; byte < 3; ++byte) {
      frame.fillRows(1, 1, kPureBlue);
      frame.row(1)[x * 3 + byte] ^= 0x10;
      ASSERT_EQ(Built(GetParam(), frame, 1).words, LiteralMask(frame, 1).words)
          << "pixel " << x << ", byte " << byte;
    }
  }
}

TEST_P(ChangeMaskBuilders, IgnoresTheLastColumnAndSetsNoBitPastPixel718) {
  FrameBitmap frame(1);
  frame.setPixel(719, 0, Rgb{1, 2, 3});
  EXPECT_EQ(Built(GetParam(), frame, 0).words, ChangeMask{}.words);

  frame.setPixel(718, 0, Rgb{1, 2, 3});
  ChangeMask expected{};
  expected.words[717 / 64] = std::uint64_t{1} << (717 % 64);
  EXPECT_EQ(Built(GetParam(), frame, 0).words, expected.words);
}

TEST_P(ChangeMaskBuilders, AgreesWithThePixelByPixelMaskOnRandomRows) {
  std::mt19937 random(314159);
  // Colours one byte apart in every position, and a few far apart.
  const Rgb colours[] = {kPureBlue,          Rgb{1, 0, 255}, Rgb{0, 1, 255},    Rgb{0, 0, 254},
                         Rgb{255, 255, 255}, Rgb{0, 0, 0},   Rgb{128, 128, 128}};
  FrameBitmap frame(300);
  for (int y = 0; y < frame.height(); ++y) {
    const int maxRun = 1 + y % 12 * (y % 5 == 0 ? 60 : 1);
    for (int x = 0; x < FrameBitmap::kWidth;) {
      const Rgb colour = colours[random() % 7];
      for (int n = 1 + static_cast<int>(random() % maxRun); n > 0 && x < FrameBitmap::kWidth;
           --n, ++x) {
        frame.setPixel(x, y, colour);
      }
    }
    ASSERT_EQ(Built(GetParam(), frame, y).words, LiteralMask(frame, y).words) << "row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(FastestAndPortable, ChangeMaskBuilders,
                         ::testing::Values(&BuildChangeMask, &BuildChangeMaskPortable),
                         [](const ::testing::TestParamInfo<Builder>& info) {
                           return std::string(info.index == 0 ? "Fastest" : "Portable");
                         });

}  // namespace
}  // namespace tesmora
