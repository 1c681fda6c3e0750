#include "sup/EncodeFields.h"

#include <gtest/gtest.h>

#include "tests/sup/HexText.h"

namespace tesmora {
namespace {

using testing::Hex;

constexpr RoleKeyColours kKeys{{255, 255, 255}, {0, 0, 0}, {128, 128, 128}};
constexpr const char* kBlankLine = "03 FC 03 FC 03 44 00 00";

TEST(EncodeFields, LaysOutEvenRowsThenOddRows) {
  FrameBitmap frame(576);
  frame.setPixel(100, 501, kKeys.text);  // a mark on the first odd row
  const PixelData data = EncodeFields(frame, {500, 3}, kKeys);
  EXPECT_EQ(Hex(data.bytes), std::string("00 00 ") + kBlankLine + " " + kBlankLine + " " +
                                 "01 8C 50 3F C0 3F C0 1B 40 00 00");
  EXPECT_EQ(data.topFieldOffset, 6);
  EXPECT_EQ(data.bottomFieldOffset, 6 + 16);
}

TEST(EncodeFields, SingleRowLeavesTheBottomFieldAtTheLeadingZeros) {
  const FrameBitmap frame(480);
  const PixelData data = EncodeFields(frame, {478, 1}, kKeys);
  EXPECT_EQ(Hex(data.bytes), std::string("00 00 ") + kBlankLine);
  EXPECT_EQ(data.topFieldOffset, 6);
  EXPECT_EQ(data.bottomFieldOffset, 4);
}

TEST(EncodeFields, EveryBlankRowEncodesTheSame) {
  const FrameBitmap frame(576);
  const PixelData data = EncodeFields(frame, {0, 576}, kKeys);
  ASSERT_EQ(data.bytes.size(), 2u + 576 * 8);
  EXPECT_EQ(data.bottomFieldOffset, 6 + 288 * 8);
  for (std::size_t at = 2; at < data.bytes.size(); at += 8) {
    ASSERT_EQ(Hex({data.bytes.data() + at, 8}), kBlankLine) << "at byte " << at;
  }
}

TEST(EncodeFields, RefusesABandOutsideTheFrame) {
  const FrameBitmap frame(480);
  EXPECT_THROW(EncodeFields(frame, {-2, 10}, kKeys), std::out_of_range);
  EXPECT_THROW(EncodeFields(frame, {470, 11}, kKeys), std::out_of_range);
  EXPECT_THROW(EncodeFields(frame, {10, 0}, kKeys), std::out_of_range);
  EXPECT_NO_THROW(EncodeFields(frame, {470, 10}, kKeys));
}

TEST(CutToFrame, KeepsABandInsideAndCutsOneThatLeaves) {
  EXPECT_EQ(CutToFrame({500, 50}, 576), (EncodeArea{500, 50}));
  EXPECT_EQ(CutToFrame({-20, 50}, 576), (EncodeArea{0, 30}));
  EXPECT_EQ(CutToFrame({440, 60}, 480), (EncodeArea{440, 40}));
  EXPECT_EQ(CutToFrame({-4, 600}, 576), (EncodeArea{0, 576}));
  EXPECT_EQ(CutToFrame({-60, 50}, 480), std::nullopt);
  EXPECT_EQ(CutToFrame({-50, 50}, 480), std::nullopt);
  EXPECT_EQ(CutToFrame({-50, 51}, 480), (EncodeArea{0, 1}));
  EXPECT_EQ(CutToFrame({480, 10}, 480), std::nullopt);
}

}  // namespace
}  // namespace tesmora
