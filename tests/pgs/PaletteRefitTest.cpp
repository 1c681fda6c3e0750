#include "pgs/PaletteRefit.h"

#include <gtest/gtest.h>

namespace tesmora::pgs {
namespace {

const IndexedPicture kDrawn{4, 1, {0, 1, 2, 2}};

RgbaPicture Row(std::vector<Rgba> pixels) {
  return {static_cast<int>(pixels.size()), 1, std::move(pixels)};
}

TEST(PaletteRefit, AFadeGivesEachIndexItsNewColour) {
  const RgbaPicture faded = Row({{0, 0, 0, 0}, {255, 255, 255, 128}, {0, 0, 0, 64}, {0, 0, 0, 64}});
  const auto colours = RefitPalette(std::span(&kDrawn, 1), std::span(&faded, 1), 2, 0);
  ASSERT_TRUE(colours.has_value());
  EXPECT_EQ(*colours, (std::vector<Rgba>{{255, 255, 255, 128}, {0, 0, 0, 64}}));
}

TEST(PaletteRefit, APictureThatChangedShapeIsNotAFade) {
  // Ink where the drawn picture was transparent.
  const RgbaPicture grown =
      Row({{9, 9, 9, 9}, {255, 255, 255, 255}, {0, 0, 0, 255}, {0, 0, 0, 255}});
  EXPECT_FALSE(RefitPalette(std::span(&kDrawn, 1), std::span(&grown, 1), 2, 4).has_value());
  // Two pixels of one index going different ways.
  const RgbaPicture split =
      Row({{0, 0, 0, 0}, {255, 255, 255, 255}, {0, 0, 0, 255}, {255, 0, 0, 255}});
  EXPECT_FALSE(RefitPalette(std::span(&kDrawn, 1), std::span(&split, 1), 2, 4).has_value());
  // Another size.
  const RgbaPicture wider = Row({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {}});
  EXPECT_FALSE(RefitPalette(std::span(&kDrawn, 1), std::span(&wider, 1), 2, 4).has_value());
}

}  // namespace
}  // namespace tesmora::pgs
