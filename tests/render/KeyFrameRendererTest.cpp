#include "render/KeyFrameRenderer.h"

#include <gtest/gtest.h>

#include "render/SubtitleDrawing.h"

namespace tesmora {
namespace {

constexpr RoleColours kColours{qRgb(16, 16, 16), qRgb(128, 128, 128), qRgb(235, 235, 235)};

// The first and last rows of the key frame that are not pure blue.
std::pair<int, int> InkRows(const FrameBitmap& frame) {
  int first = -1;
  int last = -1;
  for (int y = 0; y < frame.height(); ++y) {
    const std::uint8_t* row = frame.row(y);
    for (int x = 0; x < FrameBitmap::kWidth; ++x) {
      if (row[3 * x] != 0 || row[3 * x + 1] != 0 || row[3 * x + 2] != 255) {
        first = first < 0 ? y : first;
        last = y;
        break;
      }
    }
  }
  return {first, last};
}

EncodeArea LinesBand(const QByteArray& line1, const QByteArray& line2, const SubtitleStyle& style,
                     int frameHeight) {
  const PreparedSubtitle subtitle = PrepareSubtitle(line1, line2, style);
  return PlaceSubtitle(subtitle.measure1, subtitle.measure2, style.align, style.offset,
                       style.offsetOr, frameHeight)
      .area;
}

TEST(KeyFrameRenderer, KeepsTheBandOfTextWithinItsCells) {
  const SubtitleStyle style;
  KeyFrameRenderer renderer;
  for (const int height : {576, 480}) {
    const EncodeArea area = renderer.render("Gypsy jugglers quickly", "jump over the fence", style,
                                            3, kColours, height);
    EXPECT_EQ(area, LinesBand("Gypsy jugglers quickly", "jump over the fence", style, height));
  }
}

TEST(KeyFrameRenderer, WidensTheBandToAccentsAndMarksAboveTheCell) {
  const SubtitleStyle style;  // Arial 22, the default charset
  KeyFrameRenderer renderer;
  const QByteArray accented = "\xC9\xC5\xCA\xD1 \xC0l\xE8ve";  // ÉÅÊÑ Àlève
  const EncodeArea lines = LinesBand(accented, "", style, 576);
  const EncodeArea area = renderer.render(accented, "", style, 3, kColours, 576);
  const auto [first, last] = InkRows(renderer.frame());
  ASSERT_LT(first, lines.firstLine);  // the outline of the rings rises above the cell
  EXPECT_EQ(area.firstLine, first - (first & 1));
  EXPECT_EQ(area.lastLine(), lines.lastLine());

  // Marks stacked above the first line and below the second: 0xEC is the
  // combining acute and 0xF2 the combining dot below in Vietnamese.
  SubtitleStyle unicode = style;
  unicode.charset = charset::kVietnamese;
  const QByteArray above = "a" + QByteArray(6, '\xEC') + " x";
  const QByteArray below = "a" + QByteArray(12, '\xF2') + " y";
  const EncodeArea stacked = renderer.render(above, below, unicode, 3, kColours, 576);
  const auto [top, bottom] = InkRows(renderer.frame());
  EXPECT_LE(stacked.firstLine, top);
  EXPECT_EQ(stacked.firstLine % 2, 0);
  EXPECT_GE(stacked.lastLine(), bottom);
  EXPECT_GT(bottom, LinesBand(above, below, unicode, 576).lastLine());
}

}  // namespace
}  // namespace tesmora
