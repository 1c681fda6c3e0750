#include "sup/RunCode.h"

#include <gtest/gtest.h>

#include "tests/sup/HexText.h"

namespace tesmora {
namespace {

using testing::Hex;

TEST(FormatRunCode, UsesTheShortestCodeFormForEachLength) {
  EXPECT_EQ(FormatRunCode(1, PixelCode::Text), "5");
  EXPECT_EQ(FormatRunCode(3, PixelCode::Antialias), "F");
  EXPECT_EQ(FormatRunCode(4, PixelCode::Background), "10");
  EXPECT_EQ(FormatRunCode(15, PixelCode::Antialias), "3F");
  EXPECT_EQ(FormatRunCode(16, PixelCode::Background), "040");
  EXPECT_EQ(FormatRunCode(63, PixelCode::Antialias), "0FF");
  EXPECT_EQ(FormatRunCode(64, PixelCode::Background), "0100");
  EXPECT_EQ(FormatRunCode(99, PixelCode::Background), "018C");
  EXPECT_EQ(FormatRunCode(255, PixelCode::Background), "03FC");
}

TEST(FormatRunCode, SplitsRunsLongerThan255) {
  EXPECT_EQ(FormatRunCode(255, PixelCode::Outline), "03FE");
  EXPECT_EQ(FormatRunCode(256, PixelCode::Outline), "03FE6");
  EXPECT_EQ(FormatRunCode(510, PixelCode::Outline), "03FE03FE");
  EXPECT_EQ(FormatRunCode(511, PixelCode::Outline), "03FE03FE6");
  EXPECT_EQ(FormatRunCode(719, PixelCode::Background), "03FC03FC0344");
}

TEST(FormatRunCode, RefusesAnEmptyRun) {
  EXPECT_THROW(FormatRunCode(0, PixelCode::Text), std::invalid_argument);
}

TEST(EncodeLine, MatchesTheFormatExamples) {
  EXPECT_EQ(Hex(EncodeLine({{719, PixelCode::Background}})), "03 FC 03 FC 03 44 00 00");
  EXPECT_EQ(Hex(EncodeLine(
                {{99, PixelCode::Background}, {5, PixelCode::Text}, {615, PixelCode::Background}})),
            "01 8C 15 03 FC 03 FC 01 A4 00 00");
  // 17 digits: the pad nibble makes codes straddle byte boundaries.
  EXPECT_EQ(Hex(EncodeLine(
                {{99, PixelCode::Background}, {1, PixelCode::Text}, {619, PixelCode::Background}})),
            "01 8C 50 3F C0 3F C0 1B 40 00 00");
}

TEST(EncodeLine, PadsOnlyAnOddNumberOfNibbles) {
  // 1 + 1 nibbles: even, no pad.
  EXPECT_EQ(Hex(EncodeLine({{1, PixelCode::Text}, {1, PixelCode::Outline}})), "56 00 00");
  // 1 nibble: odd, one pad nibble.
  EXPECT_EQ(Hex(EncodeLine({{2, PixelCode::Antialias}})), "B0 00 00");
}

}  // namespace
}  // namespace tesmora
