#include <gtest/gtest.h>

#include <array>
#include <random>

#include "render/CodeFrame.h"
#include "sup/EncodeFields.h"
#include "tests/sup/HexText.h"

namespace tesmora {
namespace {

using testing::Hex;

constexpr RoleKeyColours kKeys{{255, 255, 255}, {0, 0, 0}, {128, 128, 128}};
constexpr const char* kBlankLine = "03 FC 03 FC 03 44 00 00";
// The colour each ink stands for when the inks carry their own codes.
constexpr std::array<Rgb, 4> kInkColours{kPureBlue, kKeys.text, kKeys.outline, kKeys.antialias};

// The key frame a code frame stands for, each ink painted in its colour.
FrameBitmap KeyFrameOf(const CodeFrame& codes, const std::array<Rgb, 4>& colours = kInkColours) {
  FrameBitmap frame(codes.height());
  for (int y = 0; y < codes.height(); ++y) {
    for (int x = 0; x < CodeFrame::kWidth; ++x) {
      frame.setPixel(x, y, colours[codes.ink(x, y)]);
    }
  }
  return frame;
}

// Both encodings of the band, the code frame's and its key frame's, are the
// same bytes with the same field offsets.
void ExpectEncodesAsKeyFrame(const CodeFrame& codes, const EncodeArea& area,
                             const std::array<Rgb, 4>& colours = kInkColours) {
  const PixelData expected = EncodeFields(KeyFrameOf(codes, colours), area, kKeys);
  const PixelData actual = EncodeFields(codes, area);
  EXPECT_EQ(Hex(actual.bytes), Hex(expected.bytes));
  EXPECT_EQ(actual.topFieldOffset, expected.topFieldOffset);
  EXPECT_EQ(actual.bottomFieldOffset, expected.bottomFieldOffset);
}

TEST(CodeFrameEncoding, BlankRowsEncodeAsOneBackgroundRun) {
  const CodeFrame codes(576);
  const PixelData data = EncodeFields(codes, {500, 3});
  EXPECT_EQ(Hex(data.bytes),
            std::string("00 00 ") + kBlankLine + " " + kBlankLine + " " + kBlankLine);
  EXPECT_EQ(data.topFieldOffset, 6);
  EXPECT_EQ(data.bottomFieldOffset, 6 + 16);
  ExpectEncodesAsKeyFrame(codes, {0, 576});
  ExpectEncodesAsKeyFrame(CodeFrame(480), {479, 1});
}

TEST(CodeFrameEncoding, SinglePixelsAtTheWordEdgesAndTheRowEnds) {
  // Row y holds one pixel of ink 1 + y % 3 at column kColumns[y / 3]; the
  // last rows hold all four columns at once, in every ink.
  constexpr std::array<int, 6> kColumns{0, 1, 63, 64, 718, 719};
  CodeFrame codes(480);
  int y = 0;
  for (const int x : kColumns) {
    for (unsigned ink = 1; ink <= 3; ++ink, ++y) {
      codes.setInk(x, y, ink);
    }
  }
  for (unsigned ink = 1; ink <= 3; ++ink, ++y) {
    for (const int x : kColumns) {
      codes.setInk(x, y, ink);
    }
  }
  // Neighbouring pixels of different inks on either side of a word edge.
  codes.setInk(63, y, 1);
  codes.setInk(64, y, 2);
  codes.setInk(127, ++y, 3);
  codes.setInk(128, y, 3);
  ExpectEncodesAsKeyFrame(codes, {0, y + 1});
  // A pixel of Text at column 0 alone: a run of 1, then 718 blue pixels.
  EXPECT_EQ(Hex(EncodeFields(codes, {0, 1}).bytes), "00 00 50 3F C0 3F C0 34 00 00 00");
}

TEST(CodeFrameEncoding, AlternatingAndLongRunsOfEveryInk) {
  CodeFrame codes(576);
  for (int x = 0; x < CodeFrame::kWidth; ++x) {
    codes.setInk(x, 0, static_cast<unsigned>(x % 4));
    codes.setInk(x, 1, static_cast<unsigned>(x % 2 + 1));
    codes.setInk(x, 2, static_cast<unsigned>(x / 3 % 4));
    codes.setInk(x, 3, x < 360 ? 1u : 2u);   // two runs longer than 255
    codes.setInk(x, 4, 3);                   // one ink across, not blue
    codes.setInk(x, 5, x == 719 ? 0u : 1u);  // the last pixel is never read
    codes.setInk(x, 6, x == 0 ? 2u : 1u);    // only the first pixel differs
    codes.setInk(x, 7, x < 700 ? 0u : 3u);   // ink in the last word only
  }
  ExpectEncodesAsKeyFrame(codes, {0, 8});
}

TEST(CodeFrameEncoding, RandomFramesEncodeAsTheirKeyFrames) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; ++round) {
    CodeFrame codes(round % 2 == 0 ? 576 : 480);
    for (int y = 0; y < 40; ++y) {
      // Runs of 1 to 40 pixels (1 to 4 on some rows) of a random ink.
      const unsigned longest = y % 5 == 0 ? 4 : 40;
      for (int x = 0; x < CodeFrame::kWidth;) {
        const unsigned ink = random() % 4;
        for (int end = std::min<int>(x + 1 + random() % longest, CodeFrame::kWidth); x < end; ++x) {
          codes.setInk(x, y, ink);
        }
      }
    }
    ExpectEncodesAsKeyFrame(codes, {round % 3, 37});
  }
}

TEST(CodeFrameEncoding, InksOfOneCodeStillBreakRuns) {
  // Ink 1 stands for a colour that is no key, ink 3 for a second one: both
  // encode as Background, but as runs of their own, as on the key frame.
  CodeFrame codes(576);
  codes.setInkCodes(
      {PixelCode::Background, PixelCode::Background, PixelCode::Outline, PixelCode::Background});
  const std::array<Rgb, 4> colours{kPureBlue, Rgb{1, 2, 3}, kKeys.outline, Rgb{9, 9, 9}};
  for (int x = 100; x < 110; ++x) {
    codes.setInk(x, 0, 1);
    codes.setInk(x + 10, 0, 3);
    codes.setInk(x + 20, 0, 2);
  }
  for (int x = 0; x < CodeFrame::kWidth; ++x) {
    codes.setInk(x, 1, x % 2 == 0 ? 1u : 3u);
  }
  ExpectEncodesAsKeyFrame(codes, {0, 2}, colours);
  // Blue from pixel 1 to 99, ten of each colour, ten of outline, then blue.
  EXPECT_EQ(Hex(EncodeFields(codes, {0, 1}).bytes), "00 00 01 8C 28 28 2A 03 FC 03 FC 01 40 00 00");
}

TEST(CodeFrameEncoding, RefusesABandOutsideTheFrame) {
  const CodeFrame codes(480);
  EXPECT_THROW(EncodeFields(codes, {-2, 10}), std::out_of_range);
  EXPECT_THROW(EncodeFields(codes, {470, 11}), std::out_of_range);
  EXPECT_THROW(EncodeFields(codes, {10, 0}), std::out_of_range);
  EXPECT_NO_THROW(EncodeFields(codes, {470, 10}));
}

TEST(CodeFrame, ClearsOnlyTheRowsAskedForAndKeepsItsInks) {
  CodeFrame codes(480);
  EXPECT_THROW(CodeFrame(0), std::invalid_argument);
  for (int y = 0; y < 480; ++y) {
    codes.setInk(y % CodeFrame::kWidth, y, 3);
  }
  codes.setInk(719, 10, 2);
  EXPECT_EQ(codes.ink(719, 10), 2u);
  codes.setInk(719, 10, 1);  // setting an ink replaces both of its bits
  EXPECT_EQ(codes.ink(719, 10), 1u);
  codes.clearRows(-5, 9);
  codes.clearRows(470, 500);
  codes.clearRows(300, 200);  // nothing
  for (int y = 0; y < 480; ++y) {
    const bool cleared = y < 10 || y >= 470;
    EXPECT_EQ(codes.ink(y % CodeFrame::kWidth, y), cleared ? 0u : 3u) << "row " << y;
  }
  EXPECT_EQ(codes.ink(719, 10), 1u);
}

}  // namespace
}  // namespace tesmora
