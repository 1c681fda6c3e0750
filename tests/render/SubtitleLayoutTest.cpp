#include "render/SubtitleLayout.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

TEST(PlaceSubtitle, AlignsEachLineByItsOwnWidth) {
  const LineMeasure wide{301, 33};
  const LineMeasure narrow{100, 33};
  auto centred = PlaceSubtitle(wide, narrow, "center", 30, -4, 576);
  EXPECT_EQ(centred.cell1.x(), 210);  // 360 - 150
  EXPECT_EQ(centred.cell2.x(), 310);
  auto left = PlaceSubtitle(wide, narrow, "left", 30, -4, 576);
  EXPECT_EQ(left.cell1.x(), 8);
  EXPECT_EQ(left.cell2.x(), 8);
  for (const char* other : {"right", "Center", ""}) {
    auto right = PlaceSubtitle(wide, narrow, other, 30, -4, 576);
    EXPECT_EQ(right.cell1.x(), 720 - 301 - 8) << other;
    EXPECT_EQ(right.cell2.x(), 720 - 100 - 8) << other;
  }
}

TEST(PlaceSubtitle, StacksTheLinesAboveTheBottomMarginAndCountsTheBand) {
  const LineMeasure line{200, 33};
  const auto pal = PlaceSubtitle(line, line, "center", 30, -4, 576);
  EXPECT_EQ(pal.cell1.y(), 576 - 33 - 70);
  EXPECT_EQ(pal.cell2.y(), pal.cell1.y() + 33 + 4);
  EXPECT_EQ(pal.area, (EncodeArea{pal.cell1.y() - 1, 2 * 33 + 4 + 6}));  // y1 473 is odd

  const auto ntsc = PlaceSubtitle(line, line, "center", 31, -4, 480);
  EXPECT_EQ(ntsc.cell1.y(), 376);
  EXPECT_EQ(ntsc.area.firstLine, 376);

  const LineMeasure even{200, 34};
  EXPECT_EQ(PlaceSubtitle(even, even, "left", 30, 10, 576).area.lineCount, 2 * 34 - 4);
  EXPECT_EQ(PlaceSubtitle(even, even, "left", 30, -14, 576).area.lineCount, 2 * 34 + 20);
  EXPECT_EQ(PlaceSubtitle(even, even, "left", 31, 0, 576).area.firstLine, 576 - 34 - 71 - 1);
}

TEST(PlaceSubtitle, LeavesABandOutsideTheFrameForTheEncoderToCut) {
  const LineMeasure line{200, 33};
  const auto high = PlaceSubtitle(line, line, "center", 492, -4, 480);
  EXPECT_EQ(high.cell1.y(), 480 - 33 - 40 - 492);
  EXPECT_EQ(high.area.firstLine, -86);  // y1 -85 is odd: one row higher
}

TEST(BandHoldingInk, WidensTheBandOnlyToInkOutsideIt) {
  const EncodeArea band{474, 80};  // rows 474 to 553
  EXPECT_EQ(BandHoldingInk(band, QRect(10, 474, 300, 80)), band);
  EXPECT_EQ(BandHoldingInk(band, QRect(10, 500, 300, 10)), band);
  EXPECT_EQ(BandHoldingInk(band, QRect()), band);
  // Above: from the ink's first row, made even.
  EXPECT_EQ(BandHoldingInk(band, QRect(10, 471, 300, 20)), (EncodeArea{470, 84}));
  EXPECT_EQ(BandHoldingInk(band, QRect(10, 472, 300, 20)), (EncodeArea{472, 82}));
  // Below: to the ink's last row.
  EXPECT_EQ(BandHoldingInk(band, QRect(10, 540, 300, 20)), (EncodeArea{474, 86}));
  EXPECT_EQ(BandHoldingInk(band, QRect(10, 469, 300, 100)), (EncodeArea{468, 101}));
}

}  // namespace
}  // namespace tesmora
