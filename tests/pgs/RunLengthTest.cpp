#include "pgs/RunLength.h"

#include <gtest/gtest.h>

#include "tests/sup/HexText.h"

namespace tesmora::pgs {
namespace {

using testing::Hex;

std::string CodeOf(int length, std::uint8_t index) {
  std::vector<std::uint8_t> out;
  AppendRun(out, length, index);
  return Hex(out);
}

TEST(RunLength, TransparentRunsAtEachLengthBoundary) {
  EXPECT_EQ(CodeOf(1, 0), "00 01");
  EXPECT_EQ(CodeOf(63, 0), "00 3F");
  EXPECT_EQ(CodeOf(64, 0), "00 40 40");
  EXPECT_EQ(CodeOf(16383, 0), "00 7F FF");
}

TEST(RunLength, ColourRunsAtEachLengthBoundary) {
  EXPECT_EQ(CodeOf(1, 7), "07");
  EXPECT_EQ(CodeOf(2, 7), "07 07");
  EXPECT_EQ(CodeOf(3, 7), "00 83 07");
  EXPECT_EQ(CodeOf(63, 7), "00 BF 07");
  EXPECT_EQ(CodeOf(64, 7), "00 C0 40 07");
  EXPECT_EQ(CodeOf(16383, 0xFF), "00 FF FF FF");
}

TEST(RunLength, EachLineEndsAndRunsLongerThanTheCodeAreSplit) {
  IndexedPicture picture{16385, 2, std::vector<std::uint8_t>(2 * 16385, 0)};
  picture.indices[16385] = 3;  // second line: one colour pixel, then transparent
  picture.indices[16386] = 3;
  EXPECT_EQ(Hex(EncodeRunLength(picture)), "00 7F FF 00 02 00 00 03 03 00 7F FF 00 00");
}

// The coder's two entries, a picture and its runs, agree on every picture,
// however the runs of one index are cut up.
TEST(RunLength, RunsCodeAsTheirPicture) {
  IndexedPicture picture{70, 3, std::vector<std::uint8_t>(210, 0)};
  for (std::size_t i = 0; i < picture.indices.size(); ++i) {
    picture.indices[i] = static_cast<std::uint8_t>((i * i / 7) % 5 == 0 ? 0 : (i / 3) % 4 + 1);
  }
  std::vector<IndexRun> split;  // a run a pixel, so neighbours share their index
  for (std::uint8_t index : picture.indices) {
    split.push_back({1, index});
  }
  EXPECT_EQ(Hex(EncodeRunLength(split, picture.width, picture.height)),
            Hex(EncodeRunLength(picture)));
}

TEST(RunLength, RunsThatMissARowEndAreCutThereAndRowsLeftOpenAreTransparent) {
  // Four pixels a row: the first run crosses the row's end and is cut, the
  // second row holds one colour pixel, and the third has no runs at all.
  const std::vector<IndexRun> runs{{6, 5}, {1, 2}};
  EXPECT_EQ(Hex(EncodeRunLength(runs, 4, 3)), "00 84 05 00 00 02 00 03 00 00 00 04 00 00");
  EXPECT_EQ(Hex(EncodeRunLength({}, 0, 2)), "00 00 00 00");
}

}  // namespace
}  // namespace tesmora::pgs
