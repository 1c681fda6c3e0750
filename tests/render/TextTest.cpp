// Text handling: symbol text for the font, the subtitle font and line measures.
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
