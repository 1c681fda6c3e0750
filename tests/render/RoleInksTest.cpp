#include "render/RoleInks.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrey{128, 128, 128};
constexpr RoleKeyColours kKeys{kWhite, kBlack, kGrey};

struct Inks {
  unsigned outline;
  unsigned antialias;
  unsigned text;
  friend bool operator==(const Inks&, const Inks&) = default;
};

Inks InksOf(const RoleInks& inks) {
  return {inks.outline, inks.antialias, inks.text};
}

// Every role's ink carries the code the keys give its colour.
void ExpectCodesOfColours(const RoleInks& inks, Rgb outline, Rgb antialias, Rgb text,
                          const RoleKeyColours& keys) {
  EXPECT_EQ(inks.codes[inks.outline], ClassifyPixel(outline, keys));
  EXPECT_EQ(inks.codes[inks.antialias], ClassifyPixel(antialias, keys));
  EXPECT_EQ(inks.codes[inks.text], ClassifyPixel(text, keys));
  EXPECT_EQ(inks.codes[0], PixelCode::Background);
}

TEST(AssignRoleInks, KeyColoursTakeTheirCodesAsInks) {
  const RoleInks inks = AssignRoleInks(kBlack, kGrey, kWhite, kKeys);
  EXPECT_EQ(InksOf(inks), (Inks{2, 3, 1}));
  ExpectCodesOfColours(inks, kBlack, kGrey, kWhite, kKeys);
}

TEST(AssignRoleInks, CoincidingColoursShareTheInkOfTheWinningCode) {
  // Text and outline keys alike: both roles encode as Text.
  const RoleKeyColours sameTextAndOutline{kWhite, kWhite, kGrey};
  RoleInks inks = AssignRoleInks(kWhite, kGrey, kWhite, sameTextAndOutline);
  EXPECT_EQ(InksOf(inks), (Inks{1, 3, 1}));
  ExpectCodesOfColours(inks, kWhite, kGrey, kWhite, sameTextAndOutline);

  // An antialias key of pure blue draws blue, which is ink 0.
  const RoleKeyColours blueAntialias{kWhite, kBlack, kPureBlue};
  inks = AssignRoleInks(kBlack, kPureBlue, kWhite, blueAntialias);
  EXPECT_EQ(InksOf(inks), (Inks{2, 0, 1}));
  ExpectCodesOfColours(inks, kBlack, kPureBlue, kWhite, blueAntialias);
}

TEST(AssignRoleInks, ColoursThatAreNoKeyGetInksOfTheirOwnThatEncodeAsBackground) {
  const Rgb red{200, 0, 0};
  const Rgb green{0, 200, 0};
  // Antialias is no key; it must not take ink 1 or 2, which the keys hold.
  RoleInks inks = AssignRoleInks(kBlack, red, kWhite, kKeys);
  EXPECT_EQ(InksOf(inks), (Inks{2, 3, 1}));
  ExpectCodesOfColours(inks, kBlack, red, kWhite, kKeys);

  // Two roles in one unknown colour share an ink; a second one gets another.
  inks = AssignRoleInks(red, red, green, kKeys);
  EXPECT_EQ(inks.outline, inks.antialias);
  EXPECT_NE(inks.outline, inks.text);
  EXPECT_NE(inks.outline, 0);
  EXPECT_NE(inks.text, 0);
  ExpectCodesOfColours(inks, red, red, green, kKeys);

  // Three unknown colours use up the three inks.
  inks = AssignRoleInks(red, green, Rgb{1, 1, 1}, kKeys);
  EXPECT_EQ(inks.outline + inks.antialias + inks.text, 6u);
  EXPECT_EQ(inks.outline * inks.antialias * inks.text, 6u);
  ExpectCodesOfColours(inks, red, green, Rgb{1, 1, 1}, kKeys);

  // An unknown colour next to a key colour that takes ink 3.
  inks = AssignRoleInks(red, kGrey, green, kKeys);
  EXPECT_EQ(inks.antialias, 3);
  EXPECT_EQ(inks.outline, 1);
  EXPECT_EQ(inks.text, 2);
  ExpectCodesOfColours(inks, red, kGrey, green, kKeys);
}

}  // namespace
}  // namespace tesmora
