// Text handling: decoding 8-bit lines, the subtitle font and line measures.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "render/LineMeasure.h"
#include "render/PreparedCue.h"
#include "render/StyledLineDrawing.h"
#include "render/SubtitleFont.h"
#include "render/UnfitCueMessage.h"
#include "subtitles/TextDecoder.h"

namespace tesmora {
namespace {

QString Decode(int charsetCode, std::string_view bytes) {
  return QString::fromStdString(TextDecoder(charsetCode).decode(bytes));
}

TEST(TextDecoder, ReadsEachCharacterSetInItsCodePage) {
  EXPECT_EQ(Decode(charset::kDefault, "caf\xE9 \x80"), QString::fromUtf8("café €"));
  EXPECT_EQ(Decode(charset::kAnsi, "\x93quoted\x94"), QString::fromUtf8("“quoted”"));
  EXPECT_EQ(Decode(charset::kRussian, "\xCF\xF0\xE8\xE2\xE5\xF2"), QString::fromUtf8("Привет"));
  EXPECT_EQ(Decode(charset::kGreek, "\xE1\xE2\xE3"), QString::fromUtf8("αβγ"));
  EXPECT_EQ(Decode(charset::kEastEurope, "\x9A\xE8"), QString::fromUtf8("šč"));
  EXPECT_EQ(Decode(charset::kHebrew, "\xF9\xEC\xE5\xED"), QString::fromUtf8("שלום"));
  EXPECT_EQ(Decode(charset::kShiftJis, "\x93\xfa\x96\x7b"), QString::fromUtf8("日本"));
  EXPECT_EQ(Decode(charset::kOem, "\xC9\xCD\xBB"), QString::fromUtf8("╔═╗"));
  EXPECT_EQ(Decode(charset::kMac, "\x8E"), QString::fromUtf8("é"));
  EXPECT_EQ(Decode(charset::kVietnamese, "Vi\xEA\xF2t"), QString::fromUtf8("Việt"));
}

TEST(TextDecoder, ReplacesWhatTheCodePageCannotDecodeAndKeepsGoing) {
  // 0x81 has no character in Windows-1252; a lead byte at the end of a
  // Shift-JIS line has no partner.
  EXPECT_EQ(Decode(charset::kDefault, "a\x81z"), QString::fromUtf8("a\uFFFDz"));
  EXPECT_EQ(Decode(charset::kShiftJis, "ab\x93"), QString::fromUtf8("ab\uFFFD"));
  EXPECT_EQ(Decode(charset::kDefault, std::string_view("a\0b", 3)), QString::fromUtf8("a\0b", 3));
  const std::string everyByte = [] {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
      bytes += static_cast<char>(b);
    }
    return bytes;
  }();
  for (const char* name : {"ANSI", "CHINESEBIG5", "GB2312", "HANGEUL", "JOHAB", "SHIFTJIS", "THAI",
                           "VIETNAMESE", "ARABIC", "BALTIC", "TURKISH"}) {
    const QString text = Decode(CharsetFromName(QString::fromLatin1(name)), everyByte);
    EXPECT_FALSE(text.isEmpty()) << name;
  }
}

TEST(TextDecoder, ReadsALongAsciiLineAsItsPiecesInEveryCodePage) {
  std::string ascii;
  for (int b = 0; b < 128; ++b) {
    ascii += static_cast<char>(b);
  }
  const std::string longLine = [&ascii] {
    std::string line;
    while (line.size() < 100'000) {
      line += ascii;
    }
    return line;
  }();
  for (const char* name : {"ANSI", "DEFAULT", "CHINESEBIG5", "GB2312", "HANGEUL", "JOHAB",
                           "SHIFTJIS", "THAI", "VIETNAMESE", "HEBREW", "MAC", "OEM", "RUSSIAN"}) {
    const int code = CharsetFromName(QString::fromLatin1(name));
    EXPECT_EQ(Decode(code, longLine), Decode(code, ascii).repeated(100'000 / 128 + 1)) << name;
  }
  // JOHAB reads a backslash as a won sign however long the line.
  EXPECT_EQ(Decode(CharsetFromName(QStringLiteral("JOHAB")), std::string(5000, '\\')),
            QString(5000, QChar(0x20A9)));
}

TEST(TextDecoder, KeepsTheHeldBackLetterBeforeAnUndecodableByte) {
  // Hebrew and Vietnamese hold a letter back until they know no mark
  // combines with it; a bad byte after it must not lose it.
  EXPECT_EQ(Decode(charset::kVietnamese,
                   "abc\x81"
                   "def"),
            QString::fromUtf8("abc\uFFFDdef"));
  EXPECT_EQ(Decode(charset::kVietnamese, "abW\x81"), QString::fromUtf8("abW\uFFFD"));
  EXPECT_EQ(Decode(charset::kHebrew,
                   "ab\xFF"
                   "c"),
            QString::fromUtf8("ab\uFFFDc"));
  EXPECT_EQ(Decode(charset::kHebrew, "\xF9\xFF\xEC"), QString::fromUtf8("ש\uFFFDל"));
  // A letter and the mark after it still compose.
  EXPECT_EQ(Decode(charset::kVietnamese, "a\xEC\x81"), QString::fromUtf8("\u00E1\uFFFD"));
}

// Every U+FFFD put in is counted, also where a held-back letter comes out
// before it, and nothing else is: the count is what the load reports.
TEST(TextDecoder, CountsEachReplacementItPutsIn) {
  const struct {
    int charset;
    std::string_view bytes;
    QString text;
    int replaced;
  } cases[] = {
      {charset::kDefault, "a\x81z\x8D\x8F\x90\x9D",
       QString::fromUtf8("a\uFFFDz\uFFFD\uFFFD\uFFFD\uFFFD"), 5},
      {charset::kDefault, "caf\xE9 \x80\xFF", QString::fromUtf8("café €ÿ"), 0},
      {charset::kShiftJis, "ab\x93", QString::fromUtf8("ab\uFFFD"), 1},
      {charset::kHebrew, "\xF9\xFF\xEC\xFF", QString::fromUtf8("ש\uFFFDל\uFFFD"), 2},
      {charset::kVietnamese, "a\xEC\x81", QString::fromUtf8("\u00E1\uFFFD"), 1},
      {charset::kSymbol, "\x81\xFF", QString::fromUcs4(U"\uF081\uF0FF", 2), 0},
  };
  for (const auto& c : cases) {
    int replaced = 0;
    EXPECT_EQ(QString::fromStdString(TextDecoder(c.charset).decode(c.bytes, replaced)), c.text)
        << c.bytes;
    EXPECT_EQ(replaced, c.replaced) << c.bytes;
  }
  // The count adds up over lines.
  const TextDecoder decoder(charset::kDefault);
  int replaced = 0;
  decoder.decode("\x81", replaced);
  decoder.decode("ok\x81\x81", replaced);
  EXPECT_EQ(replaced, 3);
  EXPECT_EQ(decoder.codePage(), "CP1252");
  EXPECT_EQ(TextDecoder(charset::kVietnamese).codePage(), "CP1258");
  EXPECT_EQ(TextDecoder(charset::kSymbol).codePage(), "");
}

TEST(TextDecoder, MapsSymbolBytesToTheSymbolFontRange) {
  EXPECT_EQ(Decode(charset::kSymbol, "Ab"), QString::fromUcs4(U"\uF041\uF062", 2));
  // A font without symbol glyphs gets the bytes themselves.
  const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, {});
  EXPECT_EQ(SymbolTextForFont(Decode(charset::kSymbol, "Ab"), font), QStringLiteral("Ab"));
}

TEST(SubtitleFont, UsesTheEmHeightOf96DotsPerInchAndBiLevelGlyphs) {
  EXPECT_EQ(EmPixels(10), 13);
  EXPECT_EQ(EmPixels(22), 29);
  EXPECT_EQ(EmPixels(50), 67);
  EXPECT_EQ(EmPixels(3), 4);
  EXPECT_EQ(EmPixels(9), 12);
  const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, StyleFromName("Bold+It+Und"));
  EXPECT_EQ(font.pixelSize(), 29);
  EXPECT_TRUE(font.bold());
  EXPECT_TRUE(font.italic());
  EXPECT_TRUE(font.underline());
  EXPECT_FALSE(font.strikeOut());
  EXPECT_FALSE(font.kerning());
  EXPECT_TRUE(font.styleStrategy() & QFont::NoAntialias);
}

TEST(MeasureLineWidth, CountsAmpersandsAsMnemonicMarkers) {
  const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, {});
  const QFontMetrics metrics(font);
  const int cell = metrics.ascent() + metrics.descent();
  EXPECT_EQ(MeasureLineWidth("Tom & Jerry", font),
            (LineMeasure{metrics.horizontalAdvance("Tom  Jerry"), cell}));
  EXPECT_EQ(MeasureLineWidth("Tom && Jerry", font).width, metrics.horizontalAdvance("Tom & Jerry"));
  EXPECT_EQ(MeasureLineWidth("&", font).width, 0);
  EXPECT_EQ(MeasureLineWidth("", font), (LineMeasure{metrics.horizontalAdvance(' '), cell}));
}

TEST(MeasureLineWidth, ExpandsTabsToTheDefaultStops) {
  const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, {});
  const QFontMetrics metrics(font);
  const int stop = 8 * metrics.averageCharWidth();
  EXPECT_EQ(MeasureLineWidth("\tx", font).width, stop + metrics.horizontalAdvance('x'));
  EXPECT_EQ(MeasureLineWidth("x\t\ty", font).width, 2 * stop + metrics.horizontalAdvance('y'));
}

TEST(MeasureLineWidth, FindsAnyLineLongerThanTheFrameTooWide) {
  const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, {});
  const QFontMetrics metrics(font);
  // Its true width, about 36 million pixels, overflows 32 bits.
  EXPECT_EQ(MeasureLineWidth(QString(1'300'000, u'W'), font).width, kUnmeasurablyWide);
  EXPECT_EQ(MeasureLineWidth(QString(721, u'.'), font).width, kUnmeasurablyWide);
  EXPECT_EQ(MeasureLineWidth(QString(721, u'\t'), font).width, kUnmeasurablyWide);
  EXPECT_EQ(MeasureLineWidth(QString(720, u'.'), font).width,
            metrics.horizontalAdvance(QString(720, u'.')));
  // Marks stacked on a letter and mnemonic markers take no room.
  EXPECT_EQ(MeasureLineWidth(QStringLiteral("a") + QString(5000, QChar(0x301)), font).width,
            metrics.horizontalAdvance(QStringLiteral("a") + QString(5000, QChar(0x301))));
  EXPECT_EQ(MeasureLineWidth(QStringLiteral("&x").repeated(700), font).width,
            metrics.horizontalAdvance(QString(700, u'x')));

  PreparedCue cue;
  cue.measures.push_back(MeasureLineWidth(QString(1'300'000, u'W'), font));
  EXPECT_FALSE(cue.fitsWidth());
}

TEST(MeasureStyledLine, FindsALineOfManyShortRunsLongerThanTheFrameTooWide) {
  const SubtitleStyle style;
  StyledLine line;
  for (int i = 0; i < 180; ++i) {
    line.runs.push_back(TextRun{QStringLiteral("ab&&"), i % 2 == 0});  // three take room
  }
  const int boldCell = MeasureStyledLine(StyledLine{{TextRun{"x", true}}}, style).height;
  const int plainCell = MeasureStyledLine(StyledLine{{TextRun{"x"}}}, style).height;
  // 540 characters are measured run by run; 723 are too many for any frame.
  const LineMeasure fits = MeasureStyledLine(line, style);
  EXPECT_LT(fits.width, kUnmeasurablyWide);
  EXPECT_EQ(fits.height, std::max(boldCell, plainCell));
  line.runs.push_back(TextRun{QString(183, u'.')});
  EXPECT_EQ(MeasureStyledLine(line, style), (LineMeasure{kUnmeasurablyWide, fits.height}));
}

// A line of megabytes is quoted by its start and its length, so that the
// refusal stays a message of a few lines; lines of a frame's width are
// quoted whole.
TEST(OverlongCueMessage, QuotesALineFarLongerThanAFrameByItsStartAndLength) {
  const QString wide(300, u'W');
  const QString huge = QString(400, u'a') + QString(1'000'000, u'b');
  EXPECT_EQ(OverlongCueMessage({wide, huge, QStringLiteral("3")}, true),
            QStringLiteral("The string \r") + wide + u'\r' + QString(300, u'a') +
                QStringLiteral("\u2026 (1000400 characters)\r3\ris too long. Please use a smaler "
                               "font size."));
  EXPECT_EQ(TooLongMessage(huge, QString()),
            QStringLiteral("The string \r") + QString(300, u'a') +
                QStringLiteral("\u2026 (1000400 characters)\r\ris too long."));
}

}  // namespace
}  // namespace tesmora
