#include "pgs/Segments.h"

#include <gtest/gtest.h>

#include "tests/pgs/SegmentWalk.h"
#include "tests/sup/HexText.h"

namespace tesmora::pgs {
namespace {

using testing::Hex;

TEST(Segments, CompositionWithAPlainAndACroppedForcedObject) {
  Composition composition;
  composition.number = 0x0102;
  composition.objects = {{0, 0, false, 0x0210, 0x0380, std::nullopt},
                         {1, 1, true, 16, 32, Crop{1, 2, 3, 4}}};
  std::vector<std::uint8_t> out;
  AppendCompositionSegment(out, {0x01020304, 0xFFFFFFFF + std::int64_t{2}}, composition);
  EXPECT_EQ(Hex(out),
            "50 47 01 02 03 04 00 00 00 01 16 00 23 "
            "07 80 04 38 10 01 02 80 00 00 02 "
            "00 00 00 00 02 10 03 80 "
            "00 01 01 C0 00 10 00 20 00 01 00 02 00 03 00 04");
}

TEST(Segments, ClearingCompositionWindowPaletteAndEnd) {
  Composition clear;
  clear.video_width = 720;
  clear.video_height = 576;
  clear.frame_rate = FrameRateCode::Pal;
  clear.number = 7;
  clear.state = CompositionState::Normal;
  std::vector<std::uint8_t> out;
  AppendCompositionSegment(out, {90000, 89000}, clear);
  EXPECT_EQ(Hex(out), "50 47 00 01 5F 90 00 01 5B A8 16 00 0B 02 D0 02 40 30 00 07 00 00 00 00");

  out.clear();
  const Window windows[] = {{0, 100, 200, 300, 40}, {1, 5, 6, 7, 8}};
  AppendWindowSegment(out, {1, 0}, windows);
  EXPECT_EQ(Hex(out),
            "50 47 00 00 00 01 00 00 00 00 17 00 13 02 "
            "00 00 64 00 C8 01 2C 00 28 01 00 05 00 06 00 07 00 08");

  out.clear();
  const PaletteEntry entries[] = {{0, 16, 128, 128, 0}, {1, 235, 128, 128, 255}};
  AppendPaletteSegment(out, {0, 0}, 0, 3, entries);
  EXPECT_EQ(Hex(out), "50 47 00 00 00 00 00 00 00 00 14 00 0C 00 03 00 10 80 80 00 01 EB 80 80 FF");

  out.clear();
  AppendEndSegment(out, {2, 2});
  EXPECT_EQ(Hex(out), "50 47 00 00 00 02 00 00 00 02 80 00 00");
}

TEST(Segments, SmallObjectIsOneFirstAndLastFragment) {
  const std::vector<std::uint8_t> data{0x01, 0x00, 0x00};
  std::vector<std::uint8_t> out;
  AppendObjectSegments(out, {10, 5}, 1, 2, 8, 9, data);
  EXPECT_EQ(Hex(out),
            "50 47 00 00 00 0A 00 00 00 05 15 00 0E 00 01 02 C0 00 00 07 00 08 00 09 01 00 00");
}

// Splits `size` bytes of run-length data and returns each fragment's
// (flags, data bytes).
std::vector<std::pair<int, std::size_t>> Fragments(std::size_t size) {
  std::vector<std::uint8_t> out;
  AppendObjectSegments(out, {0, 0}, 0, 0, 4096, 4096, std::vector<std::uint8_t>(size, 0x11));
  std::vector<std::pair<int, std::size_t>> fragments;
  for (const testing::Segment& segment : testing::WalkSegments(out)) {
    const int flags = segment.payload[3];
    const std::size_t header = (flags & kFirstFragment) ? 11 : 4;
    EXPECT_LE(segment.payload.size(), 0xFFEFu);
    fragments.emplace_back(flags, segment.payload.size() - header);
  }
  return fragments;
}

TEST(Segments, ObjectsSplitAtTheFragmentLimits) {
  using F = std::vector<std::pair<int, std::size_t>>;
  EXPECT_EQ(Fragments(0xFFE4), (F{{0xC0, 0xFFE4}}));
  EXPECT_EQ(Fragments(0xFFE5), (F{{0x80, 0xFFE4}, {0x40, 1}}));
  EXPECT_EQ(Fragments(0xFFE4 + 0xFFEB), (F{{0x80, 0xFFE4}, {0x40, 0xFFEB}}));
  EXPECT_EQ(Fragments(0xFFE4 + 0xFFEB + 1), (F{{0x80, 0xFFE4}, {0x00, 0xFFEB}, {0x40, 1}}));

  std::vector<std::uint8_t> out;
  AppendObjectSegments(out, {0, 0}, 0, 0, 8, 8, std::vector<std::uint8_t>(0xFFE5, 0x11));
  // The first fragment gives the whole data's length plus 4.
  EXPECT_EQ(Hex(std::span(out).subspan(17, 3)), "00 FF E9");
}

}  // namespace
}  // namespace tesmora::pgs
