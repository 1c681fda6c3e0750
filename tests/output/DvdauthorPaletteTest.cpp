#include "output/DvdauthorPalette.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

TEST(DvdauthorPaletteText, WritesSixteenLinesOfLowerCaseHex) {
  RgbPalette palette{};
  palette[1] = {85, 85, 85};
  palette[3] = {255, 255, 255};
  palette[15] = {0x12, 0xAB, 0x0C};
  EXPECT_EQ(DvdauthorPaletteText(palette),
            "000000\n555555\n000000\nffffff\n000000\n000000\n000000\n000000\n"
            "000000\n000000\n000000\n000000\n000000\n000000\n000000\n12ab0c\n");
}

TEST(RgbHex, WritesEachChannelAsTwoDigits) {
  EXPECT_EQ(RgbHex({0, 0, 0}), "000000");
  EXPECT_EQ(RgbHex({1, 0x20, 0xFE}), "0120fe");
}

}  // namespace
}  // namespace tesmora
