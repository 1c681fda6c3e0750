#include "sup/RunCode.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

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

TEST(EncodeLine, WritesEveryRunOfAListLongerThanAFrameLine) {
  // 1,000 one-pixel runs: 1,000 nibbles, more than a frame line can hold.
  const std::vector<PixelRun> runs(1000, PixelRun{1, PixelCode::Text});
  std::string expected;
  for (int i = 0; i < 500; ++i) {
    expected += "55 ";
  }
  EXPECT_EQ(Hex(EncodeLine(runs)), expected + "00 00");

  // 100,000 pixels: 392 codes of 255, then 40 pixels (0A0) and a pad nibble.
  std::string longRun;
  for (int i = 0; i < 392; ++i) {
    longRun += "03 FC ";
  }
  EXPECT_EQ(Hex(EncodeLine({{100000, PixelCode::Background}})), longRun + "0A 00 00 00");
}

TEST(EncodeLine, RefusesAnEmptyRunAndLeavesTheOutputAsItWas) {
  std::vector<std::uint8_t> out{1, 2, 3};
  EXPECT_THROW(AppendEncodedLine({{5, PixelCode::Text}, {0, PixelCode::Text}}, out),
               std::invalid_argument);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3}));
}

// Long random sequences of 1 to 4 nibbles, values with bits above the count
// included, against packing the nibbles one by one.
TEST(NibbleWriter, PacksRandomNibbleSequencesLikeOneByOne) {
  std::mt19937 random(4242);
  for (int round = 0; round < 50; ++round) {
    std::vector<std::uint8_t> bytes(2000 + NibbleWriter::kSlack, 0xEE);
    NibbleWriter writer(bytes.data());
    std::vector<int> nibbles;
    const int puts = 1 + static_cast<int>(random() % 700);
    for (int i = 0; i < puts; ++i) {
      const unsigned value = static_cast<unsigned>(random());
      const int count = 1 + static_cast<int>(random() % 4);
      writer.put(value, count);
      for (int n = count - 1; n >= 0; --n) {
        nibbles.push_back(static_cast<int>(value >> (4 * n)) & 0xF);
      }
    }
    ASSERT_EQ(writer.halfFilled(), nibbles.size() % 2 != 0);
    writer.padToByte();
    if (nibbles.size() % 2 != 0) {
      nibbles.push_back(0);
    }
    std::vector<std::uint8_t> expected;
    for (std::size_t i = 0; i < nibbles.size(); i += 2) {
      expected.push_back(static_cast<std::uint8_t>(nibbles[i] << 4 | nibbles[i + 1]));
    }
    ASSERT_EQ(writer.end() - bytes.data(), static_cast<std::ptrdiff_t>(expected.size()));
    bytes.resize(expected.size());
    ASSERT_EQ(Hex(bytes), Hex(expected)) << "round " << round;
  }
}

}  // namespace
}  // namespace tesmora
