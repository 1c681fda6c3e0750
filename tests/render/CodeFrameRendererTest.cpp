#include "render/CodeFrameRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/CodeFrameDrawing.h"
#include "render/KeyFrameRenderer.h"
#include "render/SubtitleFont.h"
#include "sup/EncodeFields.h"

namespace tesmora {
namespace {

constexpr Rgb kWhite{235, 235, 235};
constexpr Rgb kBlack{16, 16, 16};
constexpr Rgb kGrey{125, 125, 125};
constexpr RoleKeyColours kKeys{kWhite, kBlack, kGrey};

QRgb QtColour(Rgb colour) {
  return qRgb(colour.r, colour.g, colour.b);
}

// The drawing colours of a generation run: the key colours themselves.
RoleColours ColoursOf(const RoleKeyColours& keys) {
  return {QtColour(keys.outline), QtColour(keys.antialias), QtColour(keys.text)};
}

struct Drawing {
  std::vector<CueToDraw> cues;
  SubtitleStyle style;
  int outlineWidth = 3;
  int frameHeight = 576;
  RoleKeyColours keys = kKeys;
  RoleColours colours = ColoursOf(kKeys);
  TextSource source;
};

// Two renderers kept from drawing to drawing, as a worker keeps its own.
struct Renderers {
  KeyFrameRenderer keyFrame;
  CodeFrameRenderer codeFrame;
};

// Draws on both frames and expects the same band, the same encoded band and
// the same encoding of every row of the frame, band or not.
void ExpectSameEncoding(Renderers& renderers, const Drawing& drawing) {
  const EncodeArea keyArea =
      renderers.keyFrame.render(drawing.cues, drawing.source, drawing.style, drawing.outlineWidth,
                                drawing.colours, drawing.frameHeight);
  const EncodeArea codeArea = renderers.codeFrame.render(
      drawing.cues, drawing.source, drawing.style, drawing.outlineWidth,
      InksOfRoleColours(drawing.colours, drawing.keys), drawing.frameHeight);
  EXPECT_EQ(codeArea, keyArea);
  const EncodeArea whole{0, drawing.frameHeight};
  EXPECT_EQ(EncodeFields(renderers.codeFrame.frame(), whole).bytes,
            EncodeFields(renderers.keyFrame.frame(), whole, drawing.keys).bytes);
  const std::optional<EncodeArea> band = CutToFrame(keyArea, drawing.frameHeight);
  if (band) {
    const PixelData expected = EncodeFields(renderers.keyFrame.frame(), *band, drawing.keys);
    const PixelData actual = EncodeFields(renderers.codeFrame.frame(), *band);
    EXPECT_EQ(actual.bytes, expected.bytes);
    EXPECT_EQ(actual.topFieldOffset, expected.topFieldOffset);
    EXPECT_EQ(actual.bottomFieldOffset, expected.bottomFieldOffset);
  }
}

Drawing TwoLines(int outlineWidth = 3, int frameHeight = 576) {
  Drawing drawing;
  drawing.cues = {{{"Gypsy jugglers quickly", "jump over the fence"}}};
  drawing.outlineWidth = outlineWidth;
  drawing.frameHeight = frameHeight;
  return drawing;
}

TEST(CodeFrameRenderer, EncodesAsTheKeyFrameForEveryOutlineWidthInPalAndNtsc) {
  Renderers renderers;
  for (const int height : {576, 480}) {
    for (int width = 0; width <= 4; ++width) {
      SCOPED_TRACE(testing::Message() << "height " << height << ", outline " << width);
      ExpectSameEncoding(renderers, TwoLines(width, height));
    }
  }
}

TEST(CodeFrameRenderer, KeepsCoincidingAndForeignColoursExact) {
  const Rgb red{200, 10, 10};
  struct Colours {
    const char* name;
    RoleKeyColours keys;
    RoleKeyColours drawn;  // text, outline, antialias as drawn
  };
  const std::vector<Colours> cases = {
      {"text as outline", {kWhite, kWhite, kGrey}, {kWhite, kWhite, kGrey}},
      {"text as antialias", {kWhite, kBlack, kWhite}, {kWhite, kBlack, kWhite}},
      {"antialias blue", {kWhite, kBlack, kPureBlue}, {kWhite, kBlack, kPureBlue}},
      {"outline blue", {kWhite, kPureBlue, kGrey}, {kWhite, kPureBlue, kGrey}},
      {"all alike", {kGrey, kGrey, kGrey}, {kGrey, kGrey, kGrey}},
      {"antialias no key", kKeys, {kWhite, kBlack, red}},
      {"outline no key", kKeys, {kWhite, red, kGrey}},
      {"all no key", kKeys, {Rgb{1, 2, 3}, red, Rgb{4, 5, 6}}},
      {"two roles one foreign colour", kKeys, {kWhite, red, red}},
  };
  Renderers renderers;
  for (const Colours& colours : cases) {
    for (const int width : {0, 1, 3}) {
      SCOPED_TRACE(testing::Message() << colours.name << ", outline " << width);
      Drawing drawing = TwoLines(width);
      drawing.keys = colours.keys;
      drawing.colours = ColoursOf(colours.drawn);
      ExpectSameEncoding(renderers, drawing);
    }
  }
}

TEST(CodeFrameRenderer, LaterLinesOverwriteTheRingsOfEarlierOnes) {
  Renderers renderers;
  // Lines pulled together until their outlines overlap; two cues of two
  // lines give four lines, the later cue stacked above the earlier.
  for (const int pull : {-4, 10, 20}) {
    SCOPED_TRACE(testing::Message() << "offsetOr " << -pull);
    Drawing drawing = TwoLines(4);
    drawing.style.offsetOr = -pull;
    ExpectSameEncoding(renderers, drawing);
    drawing.cues = {{{"Quick brown foxes", "jump over lazy dogs"}},
                    {{"Pack my box with", "five dozen liquor jugs"}}};
    ExpectSameEncoding(renderers, drawing);
  }
  // A line drawn over the same place as the one before it.
  Drawing drawing = TwoLines(2);
  drawing.cues = {{{"{\\an5}Wide line over"}}, {{"{\\an5}IIIII"}}, {{"{\\an5}mmmm"}}};
  ExpectSameEncoding(renderers, drawing);
}

// Whether the frame holds ink at column x of row y, for any row when y < 0
// and any column when x < 0.
bool InkAt(const CodeFrame& frame, int x, int y) {
  for (int row = 0; row < frame.height(); ++row) {
    for (int column = 0; column < CodeFrame::kWidth; ++column) {
      if ((x < 0 || column == x) && (y < 0 || row == y) && frame.ink(column, row) != 0) {
        return true;
      }
    }
  }
  return false;
}

TEST(CodeFrameRenderer, CutsLinesAtEveryEdgeOfTheFrame) {
  Renderers renderers;
  const std::string wide(60, 'W');
  for (const int height : {576, 480}) {
    for (const char* align : {"left", "center", "right"}) {
      SCOPED_TRACE(testing::Message() << "height " << height << ", " << align);
      Drawing drawing = TwoLines(3, height);
      drawing.style.align = QString::fromLatin1(align);
      drawing.cues = {{{wide, "Wide " + wide}}};
      ExpectSameEncoding(renderers, drawing);
      const CodeFrame& frame = renderers.codeFrame.frame();
      EXPECT_EQ(InkAt(frame, 0, -1), drawing.style.align != "left");
      EXPECT_EQ(InkAt(frame, 719, -1), drawing.style.align != "right");
      drawing.style.offset = -45;  // the second line below the bottom
      ExpectSameEncoding(renderers, drawing);
      EXPECT_TRUE(InkAt(frame, -1, height - 1));
      drawing.style.offset = height - 55;  // the first line above the top
      ExpectSameEncoding(renderers, drawing);
      EXPECT_TRUE(InkAt(frame, -1, 0));
      drawing.style.offset = height + 200;  // wholly above the frame
      ExpectSameEncoding(renderers, drawing);
    }
  }
}

TEST(CodeFrameRenderer, DrawsSeveralStyledCuesInOneSubpicture) {
  Renderers renderers;
  Drawing drawing = TwoLines(2);
  drawing.cues = {{{"<i>Italic</i> and <b>bold</b>", "<u>under</u> <s>struck</s>"}},
                  {{"{\\an8}At the top"}},
                  {{"Third <b><i>cue</i></b>"}}};
  ExpectSameEncoding(renderers, drawing);
  drawing.frameHeight = 480;
  ExpectSameEncoding(renderers, drawing);
  drawing.style.style.bold = true;
  drawing.style.size = 30;
  ExpectSameEncoding(renderers, drawing);
  drawing.cues = {};  // nothing to draw clears what the last drawing left
  ExpectSameEncoding(renderers, drawing);
  drawing.cues = {{{"", ""}}};
  ExpectSameEncoding(renderers, drawing);
}

TEST(CodeFrameDrawing, ChangesTheRectangleTheKeyFrameChangesAndNoBitPastTheRow) {
  const QFont font = SubtitleFont(QStringLiteral("Arial"), 22, FontStyle{});
  const QString text = QStringLiteral("Wide WWWWWWWWWW line");
  const RoleInks inks = InksOfRoleColours(ColoursOf(kKeys), kKeys);
  for (const QPoint cell : {QPoint(-40, 300), QPoint(560, 300), QPoint(300, -12), QPoint(300, 560),
                            QPoint(-2000, 300), QPoint(700, 570)}) {
    for (const int width : {0, 4}) {
      SCOPED_TRACE(testing::Message()
                   << "cell " << cell.x() << "," << cell.y() << ", outline " << width);
      QImage picture(CodeFrame::kWidth, 576, QImage::Format_RGB888);
      picture.fill(QColor(0, 0, 255));
      CodeFrame codes(576);
      const std::vector<TextPiece> pieces{{text, font, cell}};
      const QRect expected = DrawOutlinedPieces(picture, pieces, width, ColoursOf(kKeys));
      EXPECT_EQ(DrawOutlinedPieces(codes, pieces, width, inks), expected);
      for (int y = 0; y < codes.height(); ++y) {
        const int last = CodeFrame::kWordsPerPlane - 1;
        ASSERT_EQ(codes.lowPlane(y)[last] & ~CodeFrame::kLastWordPixels, 0u) << "row " << y;
        ASSERT_EQ(codes.highPlane(y)[last] & ~CodeFrame::kLastWordPixels, 0u) << "row " << y;
      }
    }
  }
}

}  // namespace
}  // namespace tesmora
