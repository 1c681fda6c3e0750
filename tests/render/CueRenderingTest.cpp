#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/CueLayout.h"
#include "render/KeyFrameRenderer.h"
#include "render/StyledLineDrawing.h"
#include "tests/render/LiteralStamping.h"
#include "tests/render/TwoLineEntry.h"

namespace tesmora {
namespace {

constexpr RoleColours kColours{qRgb(16, 16, 16), qRgb(128, 128, 128), qRgb(235, 235, 235)};

// The key frame's bytes after drawing the cues.
std::vector<std::uint8_t> FrameBytes(KeyFrameRenderer& renderer, const std::vector<CueToDraw>& cues,
                                     const TextSource& source, const SubtitleStyle& style,
                                     EncodeArea* area = nullptr) {
  const EncodeArea drawn = renderer.render(cues, source, style, 3, kColours, 576);
  if (area != nullptr) {
    *area = drawn;
  }
  const FrameBitmap& frame = renderer.frame();
  return {frame.row(0), frame.row(0) + static_cast<std::size_t>(FrameBitmap::kStride) * 576};
}

// The rows holding ink, counted as separate stretches of inked rows.
int InkStretches(const FrameBitmap& frame) {
  int stretches = 0;
  bool inside = false;
  for (int y = 0; y < frame.height(); ++y) {
    bool ink = false;
    for (int x = 0; x < FrameBitmap::kWidth && !ink; ++x) {
      const std::uint8_t* p = frame.row(y) + 3 * x;
      ink = p[0] == qRed(kColours.text) && p[1] == qGreen(kColours.text);
    }
    stretches += ink && !inside ? 1 : 0;
    inside = ink;
  }
  return stretches;
}

std::pair<int, int> InkRows(const FrameBitmap& frame) {
  int first = -1;
  int last = -1;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < FrameBitmap::kWidth; ++x) {
      const std::uint8_t* p = frame.row(y) + 3 * x;
      if (p[0] != 0 || p[1] != 0 || p[2] != 255) {
        first = first < 0 ? y : first;
        last = y;
        break;
      }
    }
  }
  return {first, last};
}

TEST(CueRendering, OnePlainCueDrawsWhatTheTwoLineEntryDraws) {
  const SubtitleStyle style;
  for (const auto& lines : std::vector<std::vector<std::string>>{
           {"Hello there"}, {"Hello", "World"}, {"", "only the second"}, {}}) {
    FrameBitmap frame(576);
    const EncodeArea area = testing::RenderTwoLineEntry(
        frame, QByteArray::fromStdString(lines.empty() ? "" : lines[0]),
        QByteArray::fromStdString(lines.size() < 2 ? "" : lines[1]), style, 3, kColours);
    const std::vector<std::uint8_t> expected(
        frame.row(0), frame.row(0) + static_cast<std::size_t>(FrameBitmap::kStride) * 576);
    KeyFrameRenderer cues;
    EncodeArea cueArea;
    EXPECT_EQ(FrameBytes(cues, {{lines}}, {}, style, &cueArea), expected);
    EXPECT_EQ(cueArea.firstLine, area.firstLine);
    EXPECT_EQ(cueArea.lineCount, area.lineCount);
  }
}

TEST(CueRendering, AnItalicTagOverTheLineDrawsTheItalicStyle) {
  SubtitleStyle italic;
  italic.style.italic = true;
  KeyFrameRenderer renderer;
  EncodeArea styledArea;
  EncodeArea tagArea;
  const auto styled = FrameBytes(renderer, {{{"Bonjour", "Au revoir"}}}, {}, italic, &styledArea);
  const auto tagged =
      FrameBytes(renderer, {{{"<i>Bonjour", "Au revoir</i>"}}}, {}, SubtitleStyle{}, &tagArea);
  EXPECT_EQ(tagged, styled);
  EXPECT_EQ(tagArea.firstLine, styledArea.firstLine);
  EXPECT_EQ(tagArea.lineCount, styledArea.lineCount);

  // MicroDVD's cue-wide {y:i} and a line's leading "/" mean the same.
  for (const std::string& line : {std::string("{y:i}Bonjour"), std::string("/Bonjour")}) {
    EXPECT_EQ(FrameBytes(renderer, {{{line, "{y:i}Au revoir"}}}, {MarkupDialect::MicroDvd},
                         SubtitleStyle{}),
              FrameBytes(renderer, {{{"Bonjour", "Au revoir"}}}, {}, italic))
        << line;
  }
}

TEST(CueRendering, BoldChosenAndAnItalicRunGiveBoldItalic) {
  SubtitleStyle bold;
  bold.style.bold = true;
  SubtitleStyle boldItalic = bold;
  boldItalic.style.italic = true;
  KeyFrameRenderer renderer;
  EXPECT_EQ(FrameBytes(renderer, {{{"<i>Ensemble</i>"}}}, {}, bold),
            FrameBytes(renderer, {{{"Ensemble"}}}, {}, boldItalic));
}

TEST(CueRendering, StyledRunsDrawAsTheirLiteralStamping) {
  const SubtitleStyle style;
  const StyledLine line{
      {TextRun{"plain "}, TextRun{"italic", false, true}, TextRun{" bold", true, false}}};
  const std::vector<TextPiece> pieces = StyledLinePieces(line, style, QPoint(40, 30));
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_TRUE(pieces[1].font.italic());
  EXPECT_TRUE(pieces[2].font.bold());
  EXPECT_LT(pieces[0].cell.x(), pieces[1].cell.x());
  for (const int width : {2, 3, 4}) {
    QImage drawn(720, 100, QImage::Format_RGB888);
    drawn.fill(Qt::blue);
    QImage stamped = drawn.copy();
    DrawOutlinedPieces(drawn, pieces, width, kColours);
    testing::StampOutlinedPieces(stamped, pieces, width, kColours);
    EXPECT_EQ(drawn, stamped) << width;
  }
}

TEST(CueRendering, AFourLineCueGrowsUpwardsAndItsBandHoldsEveryLine) {
  const SubtitleStyle style;
  KeyFrameRenderer renderer;
  EncodeArea two;
  FrameBytes(renderer, {{{"Three", "Four"}}}, {}, style, &two);
  const auto [twoFirst, twoLast] = InkRows(renderer.frame());

  EncodeArea four;
  FrameBytes(renderer, {{{"One", "Two", "Three", "Four"}}}, {}, style, &four);
  EXPECT_EQ(InkStretches(renderer.frame()), 4);
  const auto [fourFirst, fourLast] = InkRows(renderer.frame());
  EXPECT_EQ(fourLast, twoLast);  // the last line stays in Line2's place
  EXPECT_LT(fourFirst, twoFirst);
  EXPECT_EQ(four.lastLine(), two.lastLine());
  EXPECT_LE(four.firstLine, fourFirst);
  EXPECT_GE(four.lastLine(), fourLast);
  // Each line sits one line step above the next.
  const int step = QFontMetrics(RunFont(style, {})).height() - style.offsetOr;
  EXPECT_EQ(two.firstLine - four.firstLine, 2 * step);
}

TEST(CueRendering, PlacementsPutTheCueAtTheTopMiddleOrBottom) {
  SubtitleStyle style;
  style.align = QStringLiteral("right");
  const PreparedCue top = PrepareCue({"{\\an8}", "Haut"}, {}, style);
  EXPECT_EQ(top.alignment, 8);
  ASSERT_EQ(top.lines.size(), 1u);  // the override alone adds no line
  const CuesLayout topLayout = PlaceCues(std::span(&top, 1), style, 576);
  ASSERT_EQ(topLayout.lines.size(), 1u);
  EXPECT_EQ(topLayout.lines[0].cell.y(), 40 + style.offset);
  EXPECT_EQ(topLayout.lines[0].cell.x(), 360 - top.measures[0].width / 2);  // over "right"

  const PreparedCue left = PrepareCue({"{\\an1}Gauche"}, {}, style);
  const CuesLayout leftLayout = PlaceCues(std::span(&left, 1), style, 576);
  EXPECT_EQ(leftLayout.lines[0].cell.x(), 8);
  const PreparedCue plain = PrepareCue({"Gauche"}, {}, style);
  EXPECT_EQ(leftLayout.lines[0].cell.y(),
            PlaceCues(std::span(&plain, 1), style, 576).lines[0].cell.y());

  const PreparedCue middle = PrepareCue({"{\\an5}Milieu"}, {}, style);
  const CuesLayout middleLayout = PlaceCues(std::span(&middle, 1), style, 576);
  EXPECT_EQ(middleLayout.lines[0].cell.y(), (576 - middle.measures[0].height) / 2);
}

// The notes read cues without measuring them; what they read must be what is
// drawn, markup, wrapping and placement included.
TEST(CueRendering, ReadingACueGivesThePreparedLinesWithoutMeasures) {
  SubtitleStyle style;
  style.size = 40;
  const TextSource wrapped{MarkupDialect::Srt, true};
  for (const std::vector<std::string>& lines :
       {std::vector<std::string>{"{\\an8}<i>Haut</i> de <b>page</b>", "<font color=red>x</font>"},
        std::vector<std::string>{"A line far too long to fit in the frame at this size, so it "
                                 "is broken at its spaces"},
        std::vector<std::string>{}}) {
    const PreparedCue read = ReadCueText(lines, wrapped, style);
    const PreparedCue prepared = PrepareCue(lines, wrapped, style);
    EXPECT_TRUE(read.measures.empty());
    EXPECT_EQ(read.lines, prepared.lines);
    EXPECT_EQ(read.alignment, prepared.alignment);
    EXPECT_EQ(read.removedMarkup, prepared.removedMarkup);
    EXPECT_EQ(prepared.measures.size(), prepared.lines.size());
  }
}

TEST(CueRendering, LaterBottomCuesStackAboveTheEarliest) {
  const SubtitleStyle style;
  const std::vector<PreparedCue> cues{PrepareCue({"Earlier"}, {}, style),
                                      PrepareCue({"Later"}, {}, style),
                                      PrepareCue({"{\\an8}Top"}, {}, style)};
  const CuesLayout together = PlaceCues(cues, style, 576);
  const CuesLayout alone = PlaceCues(std::span(cues.data(), 1), style, 576);
  ASSERT_EQ(together.lines.size(), 4u);  // Later, Earlier, the empty Line2, Top
  EXPECT_EQ(together.lines[0].line, &cues[1].lines[0]);
  EXPECT_EQ(together.lines[1].cell, alone.lines[0].cell);
  EXPECT_LT(together.lines[0].cell.y(), together.lines[1].cell.y());
  EXPECT_EQ(together.lines[3].cell.y(), 40 + style.offset);
  EXPECT_EQ(together.area.lastLine(), alone.area.lastLine());
  EXPECT_LE(together.area.firstLine, 40 + style.offset);
}

// A placement with the given alignment and point; the rest unset.
CuePlacement At(int alignment, std::optional<double> x, std::optional<double> y = std::nullopt,
                std::optional<int> lineNumber = std::nullopt,
                std::optional<double> width = std::nullopt) {
  CuePlacement placement;
  placement.alignment = alignment;
  placement.x = x;
  placement.y = y;
  placement.lineNumber = lineNumber;
  placement.width = width;
  return placement;
}

TEST(CueRendering, PlacedCuesStandAtTheirOwnPlaceWhileOthersStackAsBefore) {
  const SubtitleStyle style;  // lines within rows 70 to 506 on PAL
  const auto placed = [&style](const char* text, CuePlacement placement) {
    return PrepareCue({text}, {MarkupDialect::WebVtt}, style, placement);
  };
  const std::vector<PreparedCue> cues{
      PrepareCue({"Plain"}, {}, style), placed("Top", At(7, 0.1, std::nullopt, 0)),
      placed("Far down", At(8, 0.5, std::nullopt, 50)), placed("Right", At(1, 1.0, 0.5)),
      placed("Left, at the bottom", At(1, 0.25))};
  const CuesLayout together = PlaceCues(cues, style, 576);
  const CuesLayout plainAlone = PlaceCues(std::span(cues.data(), 1), style, 576);
  ASSERT_EQ(together.lines.size(), 6u);  // with the empty Line2 under "Plain"
  const auto cellOf = [&together](const PreparedCue& cue) {
    for (const PlacedLine& line : together.lines) {
      if (line.line == &cue.lines[0]) {
        return line;
      }
    }
    ADD_FAILURE() << "line not placed";
    return PlacedLine{};
  };
  // The unplaced cue keeps its place; the one placed only sideways stacks
  // above it, starting at a quarter of the width.
  EXPECT_EQ(cellOf(cues[0]).cell, plainAlone.lines[0].cell);
  EXPECT_EQ(cellOf(cues[4]).cell.x(), 180);
  EXPECT_LT(cellOf(cues[4]).cell.y(), cellOf(cues[0]).cell.y());
  EXPECT_EQ(cellOf(cues[1]).cell, QPoint(72, 70));
  // A line number past the last line puts the cue on the last line, and
  // from there it moves up, a line step at a time, clear of the bottom cues.
  const int step = cues[2].measures[0].height - style.offsetOr;
  EXPECT_EQ((506 - cellOf(cues[2]).cell.y() - cellOf(cues[2]).height) % step, 0);
  EXPECT_LE(cellOf(cues[2]).cell.y() + cellOf(cues[2]).height, cellOf(cues[4]).cell.y());
  EXPECT_GT(cellOf(cues[2]).cell.y() + cellOf(cues[2]).height + step, cellOf(cues[4]).cell.y());
  // A left-aligned line at the right edge is kept within the frame.
  EXPECT_EQ(cellOf(cues[3]).cell.x(), 720 - cues[3].measures[0].width);
  EXPECT_EQ(cellOf(cues[3]).cell.y() + cellOf(cues[3]).height, 288);
  EXPECT_LE(together.area.firstLine, 70);
  EXPECT_EQ(together.area.lastLine(), plainAlone.area.lastLine());
}

TEST(CueRendering, APlacementsBoxWrapsItsLinesWhetherOrNotWrappingIsOn) {
  const SubtitleStyle style;
  const std::string sentence = "The harbour lights were lit one by one along the quay";
  EXPECT_EQ(PrepareCue({sentence}, {}, style).lines.size(), 1u);
  const PreparedCue boxed =
      PrepareCue({sentence}, {}, style, At(2, 0.5, std::nullopt, std::nullopt, 0.5));
  EXPECT_GE(boxed.lines.size(), 2u);
  for (const LineMeasure& measure : boxed.measures) {
    EXPECT_LT(measure.width, 360);
  }
  EXPECT_EQ(boxed.plainLines().join(u' '), QString::fromStdString(sentence));
}

TEST(CueRendering, LiteralSourceDrawsTagsAsText) {
  const SubtitleStyle style;
  const PreparedCue literal = PrepareCue({"<i>x</i>"}, {MarkupDialect::Literal}, style);
  EXPECT_EQ(literal.plainLines(), QStringList{"<i>x</i>"});
  const PreparedCue marked = PrepareCue({"<i>x</i>"}, {}, style);
  EXPECT_EQ(marked.plainLines(), QStringList{"x"});
}

TEST(CueRendering, WrapBreaksAWideLineAndLeavesAWideWord) {
  const SubtitleStyle style;
  const std::string sentence =
      "This subtitle line is much too long to fit the frame in one piece, so it is broken";
  EXPECT_FALSE(PrepareCue({sentence}, {}, style).fitsWidth());
  const PreparedCue wrapped = PrepareCue({sentence}, {MarkupDialect::Srt, true}, style);
  EXPECT_TRUE(wrapped.fitsWidth());
  EXPECT_EQ(wrapped.lines.size(), 2u);
  EXPECT_EQ(wrapped.plainLines().join(u' '), QString::fromStdString(sentence));

  const PreparedCue word =
      PrepareCue({std::string(80, 'W') + " end"}, {MarkupDialect::Srt, true}, style);
  EXPECT_FALSE(word.fitsWidth());
}

TEST(CueRendering, WrapLeavesWholeALineNeedingFarMoreLinesThanAFrameHolds) {
  const SubtitleStyle style;
  const TextSource wrapping{MarkupDialect::Srt, true};
  const std::string sentence = "This line is long enough to take most of a frame's width here,";
  std::string manyLines;
  std::string thousands;
  for (int i = 0; i < 16; ++i) {
    manyLines += sentence + " ";
  }
  for (int i = 0; i < 20'000; ++i) {
    thousands += sentence + " ";
  }
  // Too tall for the frame, which is told elsewhere, but broken whole.
  const PreparedCue tall = PrepareCue({manyLines}, wrapping, style);
  EXPECT_TRUE(tall.fitsWidth());
  EXPECT_GE(tall.lines.size(), 18u);  // more than the 17 a PAL frame holds
  EXPECT_EQ(tall.plainLines().join(u' '), QString::fromStdString(manyLines));

  const PreparedCue endless = PrepareCue({thousands}, wrapping, style);
  EXPECT_EQ(endless.plainLines(), QStringList{QString::fromStdString(thousands)});
  EXPECT_FALSE(endless.fitsWidth());
}

}  // namespace
}  // namespace tesmora
