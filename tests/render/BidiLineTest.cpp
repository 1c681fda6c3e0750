// Lines holding right-to-left text: runs placed by the bidi algorithm over
// the whole line, and styled runs drawn in a face that has their letters.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <vector>

#include "render/CueTextNotes.h"
#include "render/GlyphCache.h"
#include "render/GlyphMask.h"
#include "render/MissingGlyphs.h"
#include "render/StyledLineDrawing.h"

namespace tesmora {
namespace {

const QRect kPicture(0, 0, 720, 200);
const QPoint kCell(100, 60);

GlyphMask LineMask(const StyledLine& line, const SubtitleStyle& style) {
  return DrawTextMask(StyledLinePieces(line, style, kCell), kPicture, 0);
}

// The stretches of inked columns, left to right, as [first, last] pairs;
// stretches at most `gap` columns apart count as one (letters of a word
// stand up to 6 columns apart in the default font, words 11 or more).
std::vector<std::pair<int, int>> InkStretches(const GlyphMask& mask, int gap = 8) {
  std::vector<std::pair<int, int>> stretches;
  const QRect& area = mask.area();
  for (int x = area.left(); x <= area.right(); ++x) {
    bool ink = false;
    for (int y = area.top(); y <= area.bottom() && !ink; ++y) {
      ink = mask.test(x, y);
    }
    if (!ink) {
      continue;
    }
    if (!stretches.empty() && x - stretches.back().second <= gap) {
      stretches.back().second = x;
    } else {
      stretches.push_back({x, x});
    }
  }
  return stretches;
}

// The mask's set pixels, row by row.
std::vector<QPoint> InkPixels(const GlyphMask& mask) {
  std::vector<QPoint> pixels;
  const QRect& area = mask.area();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (mask.test(x, y)) {
        pixels.push_back(QPoint(x, y));
      }
    }
  }
  return pixels;
}

// The width of the ink of `text` drawn alone as a line of one run.
int InkWidth(const TextRun& run, const SubtitleStyle& style) {
  const auto stretches = InkStretches(LineMask(StyledLine{{run}}, style), 1000);
  return stretches.empty() ? 0 : stretches.front().second - stretches.front().first + 1;
}

// Expects the line's words, left to right on the picture, to be `words`:
// each stretch of ink as wide as that word drawn alone (within a pixel, as
// its glyphs may fall on other fractions of a pixel).
void ExpectWordsLeftToRight(const StyledLine& line, const SubtitleStyle& style,
                            const std::vector<TextRun>& words) {
  const auto stretches = InkStretches(LineMask(line, style));
  std::string found;
  for (const auto& [first, last] : stretches) {
    found += std::to_string(first) + "-" + std::to_string(last) + " ";
  }
  ASSERT_EQ(stretches.size(), words.size()) << line.plainText().toStdString() << ": " << found;
  for (std::size_t i = 0; i < words.size(); ++i) {
    EXPECT_NEAR(stretches[i].second - stretches[i].first + 1, InkWidth(words[i], style), 1)
        << i << ": " << words[i].text.toStdString();
  }
}

TextRun Plain(const char* text) {
  return TextRun{QString::fromUtf8(text)};
}
TextRun Italic(const char* text) {
  return TextRun{QString::fromUtf8(text), false, true};
}
TextRun Bold(const char* text) {
  return TextRun{QString::fromUtf8(text), true, false};
}

TEST(BidiLine, AHebrewLineWithAnItalicRunKeepsItsWordOrderAndSpaces) {
  const SubtitleStyle style;
  const StyledLine line{{Plain("אני "), Italic("מאוד"), Plain(" שמח היום")}};
  // Read from the right: אני, מאוד, שמח, היום.
  ExpectWordsLeftToRight(line, style, {Plain("היום"), Plain("שמח"), Italic("מאוד"), Plain("אני")});

  // The spaces take their room: the line is as wide as the plain one, give
  // or take what the italic word's advance differs by, and its ink lies
  // within the width it measures.
  const StyledLine plainLine{{Plain("אני מאוד שמח היום")}};
  const int plainWidth = MeasureStyledLine(plainLine, style).width;
  const int width = MeasureStyledLine(line, style).width;
  const QString word = QString::fromUtf8("מאוד");
  const int italicDifference =
      std::abs(QFontMetrics(RunFont(style, Italic("מאוד"))).horizontalAdvance(word) -
               QFontMetrics(RunFont(style, Plain("מאוד"))).horizontalAdvance(word));
  EXPECT_LE(std::abs(width - plainWidth), italicDifference + 1);
  const auto stretches = InkStretches(LineMask(line, style));
  ASSERT_FALSE(stretches.empty());
  EXPECT_GE(stretches.front().first, kCell.x() - 2);
  EXPECT_LE(stretches.back().second, kCell.x() + width + 2);

  // A line drawn from cached glyphs draws the same.
  GlyphCache cache;
  const std::vector<TextPiece> pieces = StyledLinePieces(line, style, kCell);
  EXPECT_EQ(InkPixels(DrawTextMask(pieces, kPicture, 0, cache)),
            InkPixels(DrawTextMask(pieces, kPicture, 0)));
}

TEST(BidiLine, LeftToRightTextAndNumbersSitWhereTheParagraphPutsThem) {
  const SubtitleStyle style;
  // Bold runs: an italic one leans into the space after it.
  // A line that starts in English runs left to right, the Hebrew word in it
  // included as one piece.
  ExpectWordsLeftToRight(StyledLine{{Plain("Say "), Bold("שלום"), Plain(" to 42")}}, style,
                         {Plain("Say"), Bold("שלום"), Plain("to"), Plain("42")});
  // A line that starts in Hebrew runs right to left; the English words and
  // the number keep their own order within it.
  ExpectWordsLeftToRight(
      StyledLine{{Plain("גר ב "), Bold("New York"), Plain(" מאז 2010")}}, style,
      {Plain("2010"), Plain("מאז"), Bold("New"), Bold("York"), Plain("ב"), Plain("גר")});
}

TEST(BidiLine, AnItalicRunInAScriptTheItalicFaceLacksIsDrawnInTheUprightFace) {
  SubtitleStyle style;
  style.fontName = QStringLiteral("DejaVu Sans");
  const char* word = "مرحبا";
  // The oblique face has no Arabic; the upright one has.
  ASSERT_TRUE(
      CharactersWithoutGlyph(QString::fromUtf8(word), RunFont(style, Plain(word))).isEmpty());
  EXPECT_EQ(CharactersWithoutGlyph(QString::fromUtf8(word), RunFont(style, Italic(word))),
            QString());

  EXPECT_EQ(InkPixels(LineMask(StyledLine{{Italic(word)}}, style)),
            InkPixels(LineMask(StyledLine{{Plain(word)}}, style)));
  EXPECT_EQ(MeasureStyledLine(StyledLine{{Italic(word)}}, style),
            MeasureStyledLine(StyledLine{{Plain(word)}}, style));

  // A load says nothing of characters the drawing has glyphs for.
  const std::vector<SubtitleEntry> cues{
      SubtitleEntry{0, 1000, {"<i>\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7</i> ok"}}};
  EXPECT_TRUE(CueTextNotes(cues, TextSource{MarkupDialect::Srt}, style).empty());
}

}  // namespace
}  // namespace tesmora
