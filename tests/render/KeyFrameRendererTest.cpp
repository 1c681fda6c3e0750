#include "render/KeyFrameRenderer.h"

#include <gtest/gtest.h>

#include "subtitles/TextDecoder.h"
#include "tests/render/TwoLineEntry.h"

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

// The band of the lines' cells alone, as the two lines are placed.
EncodeArea LinesBand(const QByteArray& line1, const QByteArray& line2, const SubtitleStyle& style,
                     int frameHeight) {
  return testing::PlaceTwoLineEntry(testing::PrepareTwoLineEntry(line1, line2, style), style,
                                    frameHeight)
      .area;
}

// Draws a cue of `line1` and, when not empty, `line2`, their bytes read in
// the style's character set as a file's are at load.
EncodeArea RenderEntry(KeyFrameRenderer& renderer, const QByteArray& line1, const QByteArray& line2,
                       const SubtitleStyle& style, int frameHeight) {
  const TextDecoder decoder(style.charset);
  std::vector<std::string> lines{decoder.decode(line1.toStdString())};
  if (!line2.isEmpty()) {
    lines.push_back(decoder.decode(line2.toStdString()));
  }
  const std::vector<CueToDraw> cues{{lines}};
  return renderer.render(cues, TextSource{}, style, 3, kColours, frameHeight);
}

TEST(KeyFrameRenderer, KeepsTheBandOfTextWithinItsCells) {
  const SubtitleStyle style;
  KeyFrameRenderer renderer;
  for (const int height : {576, 480}) {
    const EncodeArea area =
        RenderEntry(renderer, "Gypsy jugglers quickly", "jump over the fence", style, height);
    EXPECT_EQ(area, LinesBand("Gypsy jugglers quickly", "jump over the fence", style, height));
  }
}

TEST(KeyFrameRenderer, WidensTheBandToAccentsAndMarksAboveTheCell) {
  const SubtitleStyle style;  // Arial 22, the default charset
  KeyFrameRenderer renderer;
  const QByteArray accented = "\xC9\xC5\xCA\xD1 \xC0l\xE8ve";  // ÉÅÊÑ Àlève
  const EncodeArea lines = LinesBand(accented, "", style, 576);
  const EncodeArea area = RenderEntry(renderer, accented, "", style, 576);
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
  const EncodeArea stacked = RenderEntry(renderer, above, below, unicode, 576);
  const auto [top, bottom] = InkRows(renderer.frame());
  EXPECT_LE(stacked.firstLine, top);
  EXPECT_EQ(stacked.firstLine % 2, 0);
  EXPECT_GE(stacked.lastLine(), bottom);
  EXPECT_GT(bottom, LinesBand(above, below, unicode, 576).lastLine());
}

}  // namespace
}  // namespace tesmora
