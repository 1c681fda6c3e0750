// Indic and Khmer text with the fonts installed for it: shaped by the font,
// drawn from cached glyphs exactly as the painter draws it, and nothing is
// reported missing.
#include <gtest/gtest.h>

#include "render/GlyphCache.h"
#include "render/GlyphMask.h"
#include "render/MissingGlyphs.h"
#include "render/SubtitleFont.h"
#include "tests/render/MaskPixels.h"
#include "tests/render/ScriptSamples.h"

namespace tesmora {
namespace {

const QRect kFrame(0, 0, 720, 576);

TEST(ShapedScripts, AnInstalledFontDrawsEachScriptFromCachedGlyphsAsThePainterDoes) {
  GlyphCache cache;
  for (const testing::ScriptSample& sample : testing::kShapedScripts) {
    for (const int pixels : {13, 22, 40}) {
      for (const FontStyle style : {FontStyle{}, FontStyle{.bold = true, .italic = true}}) {
        QFont font = SubtitleFont(QStringLiteral("Arial"), 12, style);
        font.setPixelSize(pixels);
        const std::vector<TextPiece> pieces{{sample.qtext(), font, QPoint(30, 300)}};
        const auto cached = testing::MaskPixels(DrawTextMask(pieces, kFrame, 4, cache));
        const auto painted = testing::MaskPixels(DrawTextMask(pieces, kFrame, 4));
        EXPECT_FALSE(painted.empty()) << sample.script << " " << pixels;
        EXPECT_EQ(cached, painted) << sample.script << " " << pixels;
      }
    }
    EXPECT_EQ(CharactersWithoutGlyph(sample.qtext(),
                                     SubtitleFont(QStringLiteral("Arial"), 22, FontStyle{})),
              QString())
        << sample.script << ": scripts/install-deps.sh installs a font for it";
  }
}

}  // namespace
}  // namespace tesmora
