// Cues drawn in a font of their own: the style it makes of the window's,
// and cues without one left exactly as they were.
#include <gtest/gtest.h>

#include "render/CueLayout.h"
#include "render/PreparedCue.h"

namespace tesmora {
namespace {

TEST(StyleOfCueFont, SetsWhatTheFontSetsAndSizesItsCellToTheFrame) {
  SubtitleStyle window;
  window.fontName = QStringLiteral("DejaVu Serif");
  window.style.bold = true;
  window.style.underline = true;
  CueFont font;
  font.family = "DejaVu Sans";
  font.bold = false;
  font.italic = true;
  // 34 rows of cell on a PAL frame: DejaVu Sans at 22 points, an em of 29
  // pixels; the same fraction of an NTSC frame is 18 points (24 pixels).
  font.height = 34.0 / 576;
  const SubtitleStyle pal = StyleOfCueFont(window, font, 576);
  EXPECT_EQ(pal.fontName, QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(pal.size, 22);
  EXPECT_EQ(pal.style, (FontStyle{false, true, true, false}));
  EXPECT_EQ(pal.offset, window.offset);
  EXPECT_EQ(StyleOfCueFont(window, font, 480).size, 18);
  // Nothing set: the window's style as it is.
  const SubtitleStyle same = StyleOfCueFont(window, CueFont{}, 576);
  EXPECT_EQ(same.fontName, window.fontName);
  EXPECT_EQ(same.size, window.size);
  EXPECT_EQ(same.style, window.style);
  // No line taller than the frame, however large the script asks.
  font.height = 40.0;
  EXPECT_EQ(StyleOfCueFont(window, font, 480).size, 480);
}

TEST(PrepareCues, MeasuresACueOfItsOwnFontInItAndPlacesItsLinesWithIt) {
  CueToDraw plain{{"Harbour"}, {}};
  CueToDraw styled = plain;
  styled.look.font.height = 60.0 / 576;
  styled.look.font.italic = true;
  const std::vector<CueToDraw> cues{plain, styled};
  const SubtitleStyle window;
  const std::vector<PreparedCue> prepared = PrepareCues(cues, TextSource{}, window, 576);
  ASSERT_EQ(prepared.size(), 2u);
  EXPECT_FALSE(prepared[0].ownStyle.has_value());
  EXPECT_EQ(prepared[0].measures, PrepareCue(plain.lines, TextSource{}, window).measures);
  ASSERT_TRUE(prepared[1].ownStyle.has_value());
  EXPECT_TRUE(prepared[1].ownStyle->style.italic);
  EXPECT_GT(prepared[1].measures[0].height, prepared[0].measures[0].height);
  const CuesLayout layout = PlaceCues(prepared, window, 576);
  for (const PlacedLine& line : layout.lines) {
    const bool ownLine = line.line == &prepared[1].lines[0];
    EXPECT_EQ(line.style, ownLine ? &*prepared[1].ownStyle : nullptr);
  }
  // A higher layer stacks above and is drawn after, whatever the order given.
  CueToDraw sign = styled;
  sign.look.font.layer = 1;
  const std::vector<CueToDraw> layered{sign, plain};
  const std::vector<PreparedCue> byLayer = PrepareCues(layered, TextSource{}, window, 576);
  ASSERT_EQ(byLayer.size(), 2u);
  EXPECT_FALSE(byLayer[0].ownStyle.has_value());
  EXPECT_TRUE(byLayer[1].ownStyle.has_value());
}

}  // namespace
}  // namespace tesmora
