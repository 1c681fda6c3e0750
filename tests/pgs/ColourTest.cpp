#include "pgs/Colour.h"

#include <gtest/gtest.h>

namespace tesmora::pgs {
namespace {

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kYellow{255, 255, 0, 255};

TEST(Colour, NeutralsAreTheLimitedRangeEndsUnderEitherMatrix) {
  for (const ColourSpace space : {ColourSpace::Bt601, ColourSpace::Bt709}) {
    EXPECT_EQ(ToYCrCbA(kWhite, space), (YCrCbA{235, 128, 128, 255}));
    EXPECT_EQ(ToYCrCbA(kBlack, space), (YCrCbA{16, 128, 128, 255}));
  }
}

TEST(Colour, YellowDiffersBetweenTheMatrices) {
  EXPECT_EQ(ToYCrCbA(kYellow, ColourSpace::Bt601), (YCrCbA{210, 146, 16, 255}));
  EXPECT_EQ(ToYCrCbA(kYellow, ColourSpace::Bt709), (YCrCbA{219, 138, 16, 255}));
}

TEST(Colour, HdrWhiteIsReferenceWhiteOnThePqCurveNotPeak) {
  EXPECT_EQ(ToYCrCbA(kWhite, ColourSpace::Bt2020Pq), (YCrCbA{143, 128, 128, 255}));
  EXPECT_EQ(ToYCrCbA(kBlack, ColourSpace::Bt2020Pq).y, 16);
}

TEST(Colour, AlphaPassesThroughAndHeightPicksTheMatrix) {
  EXPECT_EQ(ToYCrCbA({255, 255, 255, 77}, ColourSpace::Bt709).a, 77);
  EXPECT_EQ(StandardSpaceForHeight(1080), ColourSpace::Bt709);
  EXPECT_EQ(StandardSpaceForHeight(720), ColourSpace::Bt709);
  EXPECT_EQ(StandardSpaceForHeight(576), ColourSpace::Bt601);
  EXPECT_EQ(StandardSpaceForHeight(480), ColourSpace::Bt601);
}

}  // namespace
}  // namespace tesmora::pgs
