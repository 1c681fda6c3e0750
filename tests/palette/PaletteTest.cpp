#include "palette/Palette.h"

#include <gtest/gtest.h>

#include "palette/GreyRoles.h"

namespace tesmora {
namespace {

TEST(YCrCbToRgb, RoundsHalvesToEvenAndWrapsInsteadOfClamping) {
  EXPECT_EQ(YCrCbToRgb(0x55, 0x80, 0x80), (Rgb{85, 85, 85}));
  EXPECT_EQ(YCrCbToRgb(0xEB, 0x80, 0x80), (Rgb{235, 235, 235}));
  EXPECT_EQ(YCrCbToRgb(0, 0x80, 0x80), (Rgb{0, 0, 0}));
  EXPECT_EQ(YCrCbToRgb(0xFF, 0x80, 0x80), (Rgb{255, 255, 255}));
  // G = round(16 - 38.54368) = -23: byte 233; B = round(214.464) = 214.
  EXPECT_EQ(YCrCbToRgb(0x10, 0x80, 0xF0), (Rgb{16, 233, 214}));
  // R = round(433.054) = 433: byte 177; G = round(164.30422) = 164.
  EXPECT_EQ(YCrCbToRgb(0xFF, 0xFF, 0x80), (Rgb{177, 164, 255}));
  // Cb 0x81: B = Y + 1.772; Cr 0x7F: R = Y - 1.402.
  EXPECT_EQ(YCrCbToRgb(100, 0x80, 0x81), (Rgb{100, 100, 102}));
  EXPECT_EQ(YCrCbToRgb(100, 0x7F, 0x80), (Rgb{99, 101, 100}));
}

TEST(ClampedYCrCbToRgb, HoldsEachChannelToTheByteRange) {
  EXPECT_EQ(ClampedYCrCbToRgb(0x55, 0x80, 0x80), (Rgb{85, 85, 85}));
  // G = -23 and B = 214.464, where the wrapping conversion gives 233 for G.
  EXPECT_EQ(ClampedYCrCbToRgb(0x10, 0x80, 0xF0), (Rgb{16, 0, 214}));
  // R = 433.054, G = 164.30422.
  EXPECT_EQ(ClampedYCrCbToRgb(0xFF, 0xFF, 0x80), (Rgb{255, 164, 255}));
  // R = 235 + 1.402 * 112 = 392.024, G = 193.56, B = 36.536.
  EXPECT_EQ(ClampedYCrCbToRgb(0xEB, 0xF0, 0x10), (Rgb{255, 194, 37}));
}

TEST(PaletteEntryFromIfo, SplitsTheValueAndShowsItAsHex) {
  const PaletteEntry white = PaletteEntryFromIfo(0x01EB8080);
  EXPECT_EQ(white.reservedByte, 1);
  EXPECT_EQ(white.y, 0xEB);
  EXPECT_EQ(white.rgb, (Rgb{235, 235, 235}));
  EXPECT_EQ(white.shown, (Rgb{235, 235, 235}));
  EXPECT_EQ(white.hintText, "01EB8080");
  EXPECT_EQ(PaletteEntryFromIfo(0x00108080).hintText, "00108080");
  // Outside the RGB cube the drawing colour wraps; the shown one is held.
  const PaletteEntry outside = PaletteEntryFromIfo(0x001080F0);
  EXPECT_EQ(outside.rgb, (Rgb{16, 233, 214}));
  EXPECT_EQ(outside.shown, (Rgb{16, 0, 214}));
}

TEST(GenericPalette, HoldsFourGreysAndBlack) {
  const Palette palette = GenericPalette();
  EXPECT_EQ(palette[0].rgb, (Rgb{0, 0, 0}));
  EXPECT_EQ(palette[1].rgb, (Rgb{85, 85, 85}));
  EXPECT_EQ(palette[2].rgb, (Rgb{170, 170, 170}));
  EXPECT_EQ(palette[3].rgb, (Rgb{255, 255, 255}));
  EXPECT_EQ(palette[0].hintText, "000");
  EXPECT_EQ(palette[1].hintText, "858585");
  EXPECT_EQ(palette[2].hintText, "170170170");
  for (std::size_t n = 0; n < 16; ++n) {
    EXPECT_EQ(palette[n].shown, palette[n].rgb);
  }
  for (std::size_t n = 4; n < 16; ++n) {
    EXPECT_EQ(palette[n].rgb, (Rgb{0, 0, 0}));
    EXPECT_EQ(palette[n].hintText, "000000");
  }
  // The generic greys are the colours of these neutral entries.
  EXPECT_EQ(YCrCbToRgb(0xAA, 0x80, 0x80), palette[2].rgb);
}

Palette FromValues(std::initializer_list<std::pair<int, std::uint32_t>> values) {
  Palette palette;
  for (std::size_t n = 0; n < 16; ++n) {
    palette[n] = PaletteEntryFromIfo(0x00108040);  // dark, not grey
  }
  for (const auto& [n, value] : values) {
    palette[static_cast<std::size_t>(n)] = PaletteEntryFromIfo(value);
  }
  return palette;
}

TEST(PickGreyRoles, TakesTheFirstGreyOfEachBand) {
  const GreyRoles roles = PickGreyRoles(FromValues({{0, 0x108080}, {1, 0x808080}, {2, 0xEB8080}}));
  EXPECT_EQ(roles.dark, 0);
  EXPECT_EQ(roles.middle, 1);
  EXPECT_EQ(roles.light, 2);
  EXPECT_TRUE(roles.polychromatic());

  const GreyRoles twoDark =
      PickGreyRoles(FromValues({{3, 0x208080}, {9, 0x108080}, {5, 0x808080}, {6, 0xEB8080}}));
  EXPECT_EQ(twoDark.dark, 3);
}

TEST(PickGreyRoles, PutsTheBandLimitsWhereTheyBelong) {
  const GreyRoles limits = PickGreyRoles(
      FromValues({{0, 0x468080}, {1, 0x478080}, {2, 0xC88080}, {3, 0xC98080}}));  // 70 71 200 201
  EXPECT_EQ(limits.dark, 0);
  EXPECT_EQ(limits.middle, 1);
  EXPECT_EQ(limits.light, 3);
}

TEST(PickGreyRoles, NeedsExactlyNeutralChromaAndAllThreeBands) {
  EXPECT_FALSE(
      PickGreyRoles(FromValues({{0, 0x108080}, {1, 0x808081}, {2, 0xEB8080}})).polychromatic());
  EXPECT_FALSE(PickGreyRoles(FromValues({{0, 0x108080}, {2, 0xEB8080}})).polychromatic());
  Palette zeros;
  for (auto& entry : zeros) {
    entry = PaletteEntryFromIfo(0);
  }
  const GreyRoles none = PickGreyRoles(zeros);
  EXPECT_FALSE(none.dark || none.middle || none.light);
  // A reserved byte does not stop an entry from being grey.
  EXPECT_EQ(PickGreyRoles(FromValues({{4, 0x01EB8080}})).light, 4);
}

}  // namespace
}  // namespace tesmora
