#include <gtest/gtest.h>

#include <QFontMetrics>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "render/GlyphCache.h"
#include "render/GlyphMask.h"
#include "render/SubtitleFont.h"
#include "tests/render/MaskPixels.h"
#include "tests/render/PainterTextMask.h"

namespace tesmora {
namespace {

const QRect kFrame(0, 0, 720, 576);

// Every set pixel, row by row, read from the mask's words.
std::vector<std::pair<int, int>> SetPixels(const GlyphMask& mask) {
  return testing::MaskPixels(mask);
}

// Where the two masks differ, or empty when they set the same pixels.
std::string MaskDifference(const GlyphMask& cached, const GlyphMask& painted) {
  const auto a = SetPixels(cached);
  const auto b = SetPixels(painted);
  if (a == b) {
    return {};
  }
  const auto [inA, inB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  const std::pair<int, int> first = inA == a.end()   ? *inB
                                    : inB == b.end() ? *inA
                                                     : std::min(*inA, *inB);
  return std::to_string(a.size()) + " pixels set against " + std::to_string(b.size()) +
         ", first difference at (" + std::to_string(first.second) + ", " +
         std::to_string(first.first) + ")";
}

std::string Describe(const std::vector<TextPiece>& pieces) {
  std::string text;
  for (const TextPiece& piece : pieces) {
    text += "[" + piece.text.toStdString() + "|" + piece.font.family().toStdString() + " " +
            std::to_string(piece.font.pixelSize()) + "px" + (piece.font.bold() ? " bold" : "") +
            (piece.font.italic() ? " italic" : "") + (piece.font.underline() ? " underline" : "") +
            (piece.font.strikeOut() ? " strike-out" : "") + " at " +
            std::to_string(piece.cell.x()) + "," + std::to_string(piece.cell.y()) + "]";
  }
  return text;
}

// Draws the pieces with the cache and with the painter and records any
// difference; a failing corpus reports every case that differs.
void Compare(const std::vector<TextPiece>& pieces, GlyphCache& cache,
             std::vector<std::string>& failures, const QRect& limit = kFrame) {
  const GlyphMask cached = DrawTextMask(pieces, limit, 4, cache);
  const GlyphMask painted = testing::PainterTextMask(pieces, limit, 4);
  const std::string difference = MaskDifference(cached, painted);
  if (!difference.empty()) {
    failures.push_back(Describe(pieces) + ": " + difference);
  }
}

std::string Report(const std::vector<std::string>& failures) {
  std::string report;
  for (std::size_t i = 0; i < failures.size() && i < 40; ++i) {
    report += failures[i] + "\n";
  }
  return report;
}

QFont FontOf(const char* family, int pixels, FontStyle style) {
  QFont font = SubtitleFont(QString::fromUtf8(family), 12, style);
  font.setPixelSize(pixels);
  return font;
}

const FontStyle kStyles[] = {
    {},
    {.bold = true},
    {.italic = true},
    {.bold = true, .italic = true},
    {.underline = true},
    {.strikeOut = true},
};

// Families the tests draw in: the subtitle default and faces of every
// outline format installed (TrueType, CFF), monospaced ones and the one
// holding Chinese characters.
const char* const kFamilies[] = {
    "Arial",        "Liberation Serif",    "Liberation Mono", "DejaVu Sans",
    "DejaVu Serif", "DejaVu Sans Mono",    "Nimbus Roman",    "Nimbus Sans",
    "URW Gothic",   "Droid Sans Fallback",
};

const char* const kTexts[] = {
    "AV To Wa Yo LT",                                          // kerning pairs
    "fi ffl office flag",                                      // ligatures
    "a\xCC\x81\xCC\x81\xCC\x81 e\xCC\xA3\xCC\xA3\xCC\x87",     // stacked marks
    "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",                        // Hebrew
    "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7",                // Arabic
    "\xE6\xBC\xA2\xE5\xAD\x97 kana \xE3\x81\x8B\xE3\x81\xAA",  // CJK from a fallback font
    " leading and trailing ",
    "jgpqy, \xC3\x89\xC3\x85 Lorvanto! 0123",
};

TEST(CachedTextMask, EqualsThePaintersDrawingOverEveryFamilySizeAndStyle) {
  GlyphCache cache;
  std::vector<std::string> failures;
  int cases = 0;
  for (const char* family : kFamilies) {
    for (const int pixels : {6, 9, 13, 18, 24, 31, 40, 52, 63, 64, 65, 72, 80}) {
      for (const FontStyle& style : kStyles) {
        for (const char* text : kTexts) {
          Compare({{QString::fromUtf8(text), FontOf(family, pixels, style), QPoint(30, 200)}},
                  cache, failures);
          ++cases;
        }
      }
    }
  }
  EXPECT_TRUE(failures.empty()) << failures.size() << " of " << cases << " differ\n"
                                << Report(failures);
}

TEST(CachedTextMask, EqualsThePaintersDrawingAtEverySize) {
  GlyphCache cache;
  std::vector<std::string> failures;
  for (int pixels = 6; pixels <= 80; ++pixels) {
    for (const FontStyle& style : {FontStyle{}, FontStyle{.bold = true, .italic = true}}) {
      Compare(
          {{QStringLiteral("Wavy fjord, AV To."), FontOf("Arial", pixels, style), QPoint(12, 300)}},
          cache, failures);
    }
  }
  EXPECT_TRUE(failures.empty()) << Report(failures);
}

TEST(CachedTextMask, EqualsThePaintersDrawingOfPiecesInDifferentFonts) {
  GlyphCache cache;
  std::vector<std::string> failures;
  for (const int pixels : {14, 29, 70}) {
    const QFont plain = FontOf("Arial", pixels, {});
    const QFont italic = FontOf("DejaVu Serif", pixels, {.italic = true});
    const QFont bold = FontOf("Liberation Mono", pixels, {.bold = true, .underline = true});
    const QString texts[] = {QStringLiteral("plain "), QStringLiteral("italic fi"),
                             QString::fromUtf8(" bold \xE6\xBC\xA2")};
    std::vector<TextPiece> pieces;
    int x = 40;
    for (const auto& [text, font] :
         {std::pair{texts[0], plain}, std::pair{texts[1], italic}, std::pair{texts[2], bold}}) {
      pieces.push_back({text, font, QPoint(x, 100)});
      x += QFontMetrics(font).horizontalAdvance(text);
    }
    Compare(pieces, cache, failures);
    // Pieces overlapping each other.
    pieces[1].cell.rx() -= pixels / 2;
    Compare(pieces, cache, failures);
  }
  EXPECT_TRUE(failures.empty()) << Report(failures);
}

TEST(CachedTextMask, EqualsThePaintersDrawingCutAtTheLimitsEdges) {
  GlyphCache cache;
  std::vector<std::string> failures;
  const QString text = QStringLiteral("Edges: jWg fi");
  for (const int pixels : {22, 75}) {
    const QFont font = FontOf("Arial", pixels, {.italic = true});
    const int width = QFontMetrics(font).horizontalAdvance(text);
    for (const QPoint cell :
         {QPoint(-width / 2, 200), QPoint(720 - width / 2, 200), QPoint(300, -pixels / 2),
          QPoint(300, 576 - pixels / 2), QPoint(-5, -5), QPoint(715 - width, 570 - pixels),
          QPoint(-3 * width, 100), QPoint(300, 5000)}) {
      for (const int reach : {0, 1, 4}) {
        Compare({{text, font, cell}}, cache, failures,
                kFrame.adjusted(-reach, -reach, reach, reach));
      }
      // A limit that cuts inside the glyphs' words, off the 64-column grid.
      Compare({{text, font, cell}}, cache, failures, QRect(cell.x() + 7, cell.y() + 3, 70, 9));
    }
  }
  EXPECT_TRUE(failures.empty()) << Report(failures);
}

// Unhinted glyphs sit at fractions of a pixel, and smooth ones are drawn in
// shades: both must still come out as the painter draws them.
TEST(CachedTextMask, EqualsThePaintersDrawingOfUnhintedAndSmoothFonts) {
  GlyphCache cache;
  std::vector<std::string> failures;
  for (const QFont::HintingPreference hinting :
       {QFont::PreferNoHinting, QFont::PreferVerticalHinting, QFont::PreferFullHinting}) {
    for (const bool smooth : {false, true}) {
      for (const int pixels : {11, 17, 23, 38}) {
        QFont font = FontOf("DejaVu Serif", pixels, {});
        font.setHintingPreference(hinting);
        if (smooth) {
          font.setStyleStrategy(QFont::PreferDefault);
        }
        Compare({{QStringLiteral("Illicit millimetre, AV To fi."), font, QPoint(25, 90)}}, cache,
                failures);
      }
    }
  }
  EXPECT_TRUE(failures.empty()) << Report(failures);
}

// Past as many faces as it describes, the cache starts afresh; glyphs of the
// faces described before must not be taken for those of the new ones.
TEST(CachedTextMask, StaysRightPastItsFaceCapacity) {
  GlyphCache cache;
  std::vector<std::string> failures;
  std::size_t faces = 0;
  for (const char* family : {"Arial", "DejaVu Sans", "Liberation Serif", "DejaVu Serif"}) {
    for (const FontStyle& style : {FontStyle{}, FontStyle{.bold = true}}) {
      for (int pixels = 8; pixels < 64 && faces <= GlyphCache::kFaceCapacity + 20; ++pixels) {
        Compare({{QStringLiteral("Ab"), FontOf(family, pixels, style), QPoint(10, 10)}}, cache,
                failures);
        ++faces;
      }
    }
  }
  EXPECT_GT(faces, GlyphCache::kFaceCapacity);
  EXPECT_LT(cache.size(), 60u);
  EXPECT_TRUE(failures.empty()) << Report(failures);
}

// The converter fills one cache per worker thread and drops them all on the
// main thread after the workers have ended.
TEST(CachedTextMask, ACacheFilledOnAnotherThreadDrawsAlikeAndIsDroppedSafely) {
  const std::vector<TextPiece> pieces{{QString::fromUtf8("Filled elsewhere \xE6\xBC\xA2"),
                                       FontOf("Arial", 29, {}), QPoint(50, 60)}};
  auto cache = std::make_unique<GlyphCache>();
  GlyphMask there;
  std::thread worker([&] { there = DrawTextMask(pieces, kFrame, 3, *cache); });
  worker.join();
  EXPECT_GT(cache->size(), 0u);
  const GlyphMask here = DrawTextMask(pieces, kFrame, 3, *cache);
  const GlyphMask painted = testing::PainterTextMask(pieces, kFrame, 3);
  EXPECT_EQ(MaskDifference(there, painted), "");
  EXPECT_EQ(MaskDifference(here, painted), "");
  cache.reset();
}

TEST(CachedTextMask, DrawsTheSameFromCachedGlyphsAndKeepsWithinItsCapacity) {
  GlyphCache cache(64);
  const std::vector<TextPiece> pieces{
      {QStringLiteral("Again and again"), FontOf("DejaVu Sans", 27, {}), QPoint(100, 100)}};
  const GlyphMask first = DrawTextMask(pieces, kFrame, 3, cache);
  const std::size_t drawn = cache.size();
  EXPECT_EQ(drawn, 7u);  // A g i n space a d
  const GlyphMask second = DrawTextMask(pieces, kFrame, 3, cache);
  EXPECT_EQ(cache.size(), drawn);
  EXPECT_EQ(MaskDifference(second, first), "");
  EXPECT_EQ(second.area(), first.area());

  const std::vector<TextPiece> many{{QStringLiteral("abcdefghijklmnopqrstuvwxyz"
                                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,;:!?"),
                                     FontOf("DejaVu Sans", 27, {}), QPoint(0, 100)}};
  std::vector<std::string> failures;
  Compare(many, cache, failures, QRect(-100, 0, 100000, 576));
  Compare(many, cache, failures, QRect(-100, 0, 100000, 576));
  EXPECT_LE(cache.size(), 64u);
  EXPECT_TRUE(failures.empty()) << Report(failures);
}

}  // namespace
}  // namespace tesmora
