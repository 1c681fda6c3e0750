// Cues written as an ASS script: the event text with its overrides and
// literal characters, times and the style sized for the target.
#include "hdrender/AssScript.h"

#include <gtest/gtest.h>

#include "hdrender/AssLiteralText.h"

namespace tesmora {
namespace {

std::string Event(std::initializer_list<const char*> lines,
                  MarkupDialect dialect = MarkupDialect::Srt, const HdStyle& style = {}) {
  QStringList list;
  for (const char* line : lines) {
    list.append(QString::fromUtf8(line));
  }
  return AssEventText(list, dialect, style);
}

TEST(AssEventText, TurnsMarkupIntoOverridesOnTopOfTheStyle) {
  EXPECT_EQ(Event({"plain", "two"}), "plain\\Ntwo");
  EXPECT_EQ(Event({"<i>it</i> and <b>bold</b>"}), "{\\i1}it{\\i0} and {\\b1}bold");
  EXPECT_EQ(Event({"<u>under", "still</u> no"}), "{\\u1}under\\Nstill{\\u0} no");
  EXPECT_EQ(Event({"{\\an8}On top"}), "{\\an8}On top");
  EXPECT_EQ(Event({"{y:i}one|two"}, MarkupDialect::MicroDvd), "{\\i1}one|two");
  EXPECT_EQ(Event({"{y:b}one", "two"}, MarkupDialect::MicroDvd), "{\\b1}one\\N{\\b0}two");
  // A bold style stays bold where the markup asks for bold; plain text of an
  // italic style is italic without an override.
  HdStyle bold;
  bold.bold = true;
  EXPECT_EQ(Event({"<b>a</b>b"}, MarkupDialect::Srt, bold), "ab");
  HdStyle italic;
  italic.italic = true;
  EXPECT_EQ(Event({"a<b>b</b>"}, MarkupDialect::Srt, italic), "a{\\b1}b");
}

TEST(AssEventText, ColoursFontSpansAndGoesBackToTheStyleColour) {
  EXPECT_EQ(Event({"a <font color=\"#FF8000\">warm</font> b"}), "a {\\c&H0080FF&}warm{\\c} b");
  // Nested spans, a tag without a colour, names, a bare hexadecimal value,
  // spans across lines, any letter case.
  EXPECT_EQ(Event({"<FONT COLOR='red'>r <font face=\"Arial\">still r</font>",
                   "<font color=00ff00>g</font> r</font> plain"}),
            "{\\c&H0000FF&}r still r\\N{\\c&H00FF00&}g{\\c&H0000FF&} r{\\c} plain");
  // A line holding only a tag adds no line; its colour starts the next.
  EXPECT_EQ(Event({"<font color=blue>", "blue", "</font>"}), "{\\c&HFF0000&}blue{\\c}");
  // An unreadable colour keeps the one around it; markup-free text keeps
  // the tag as text.
  EXPECT_EQ(Event({"<font color=\"nocolour\">x</font>"}), "x");
  EXPECT_EQ(Event({"<font color=red>x"}, MarkupDialect::Literal), "<font color=red>x");
  EXPECT_EQ(Event({"{y:i}<font color=#fff>w</font>"}, MarkupDialect::MicroDvd),
            "{\\i1}{\\c&HFFFFFF&}w{\\c}");
  // Text that holds the marks' own characters is left unmarked.
  EXPECT_EQ(Event({"\uE000<font color=red>x</font>"}), "\uE000x");
}

TEST(AssEventText, KeepsBracesAndBackslashesAsText) {
  const QString joiner(QChar(0x2060));
  // Markup-free dialect: every character is text.
  EXPECT_EQ(Event({"{\\i1}x{y}"}, MarkupDialect::Literal), "\\{\\i1\\}x\\{y\\}");
  EXPECT_EQ(AssLiteralText(QStringLiteral("C:\\New\\hat\\n")),
            "C:\\" + joiner + "New\\" + joiner + "hat\\" + joiner + "n");
  EXPECT_EQ(AssLiteralText(QStringLiteral("a\\b")), QStringLiteral("a\\b"));
  // A backslash ending a run is closed off: the next run's block follows it.
  EXPECT_EQ(Event({"a\\<i>N</i>"}), ("a\\" + joiner + "{\\i1}N").toStdString());
  // Braces that are no override in an SRT cue are drawn.
  EXPECT_EQ(Event({"{not markup}"}), "\\{not markup\\}");
}

TEST(AssTime, RoundsToCentisecondsAndWritesHoursUnpadded) {
  EXPECT_EQ(AssTime(0), "0:00:00.00");
  EXPECT_EQ(AssTime(-40), "0:00:00.00");
  EXPECT_EQ(AssTime(1234), "0:00:01.23");
  EXPECT_EQ(AssTime(1235), "0:00:01.24");
  EXPECT_EQ(AssTime(3'599'999), "1:00:00.00");
  EXPECT_EQ(AssTime(36'000'000 + 61'010), "10:01:01.01");
}

TEST(BuildAssScript, SizesTheStyleForTheTargetAndKeepsOneEventPerCue) {
  HdStyle style;
  style.fontName = QStringLiteral("Liberation, Sans");
  style.points = 27;  // 36 px of em at 576 lines
  style.text = {255, 255, 0};
  style.outlineWidth = 3;
  style.marginVertical = 32;
  const std::vector<HdCue> cues{{1000, 2500, {QStringLiteral("One")}},
                                {3000, 4000, {QStringLiteral("Two, with a comma")}}};
  const std::string script =
      BuildAssScript(cues, MarkupDialect::Srt, style, *HdTargetForLines(1080));
  EXPECT_NE(script.find("PlayResX: 1920\nPlayResY: 1080\n"), std::string::npos);
  EXPECT_NE(script.find("Style: Default,Liberation  Sans,67.5,&H0000FFFF,&H000000FF,&H00000000,"
                        "&H00000000,0,0,0,0,100,100,0,0,1,5.625,0,2,30,30,60,1\n"),
            std::string::npos)
      << script;
  EXPECT_NE(script.find("Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,One\n"
                        "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,Two, with a comma\n"),
            std::string::npos);
  const std::string small = BuildAssScript(cues, MarkupDialect::Srt, style, *HdTargetForLines(576));
  EXPECT_NE(small.find("Style: Default,Liberation  Sans,36,"), std::string::npos);
}

TEST(AssScript, WritesAPlacedCueInAStyleWithoutMarginsAtItsPointAndBox) {
  const HdStyle style;  // 22 points, margins of 16 and 30 pixels at 576 lines
  const HdTarget target = *HdTargetForLines(1080);
  // Starting at 10% of the width, at the bottom; its box runs to the
  // right edge, which the event's margins give.
  CuePlacement left;
  left.alignment = 1;
  left.x = 0.1;
  left.width = 0.9;
  std::vector<HdCue> cues{{1000, 2000, {QStringLiteral("<i>Left</i>")}, left}};
  std::string script = BuildAssScript(cues, MarkupDialect::WebVtt, style, target);
  EXPECT_NE(script.find(",2,30,30,56,1\nStyle: Placed,Arial,55,&H00FFFFFF,&H000000FF,&H00000000,"
                        "&H00000000,0,0,0,0,100,100,0,0,1,3.75,0,2,0,0,0,1\n\n[Events]"),
            std::string::npos)
      << script;
  EXPECT_NE(script.find("Dialogue: 0,0:00:01.00,0:00:02.00,Placed,,192,0,0,,"
                        "{\\an1\\pos(192,1023.75)}{\\i1}Left\n"),
            std::string::npos)
      << script;
  // Line numbers count lines of the font from the margin: line 1 is one
  // font size below the top margin. A box of 60% centred on 30% fills the
  // frame's left.
  CuePlacement second;
  second.alignment = 2;
  second.x = 0.3;
  second.lineNumber = 1;
  second.width = 0.6;
  EXPECT_EQ(PlacedEvent(second, 0, style, target).overrides, "{\\an8\\pos(576,111.25)}");
  const AssPlacement boxed = PlacedEvent(second, 0, style, target);
  EXPECT_EQ(boxed.marginLeft, 0);
  EXPECT_EQ(boxed.marginRight, 768);
  // Middle row at a height; a cue's own {\an} counts where the placement has none.
  CuePlacement middle;
  middle.alignment = 5;
  middle.x = 0.5;
  middle.y = 0.25;
  EXPECT_EQ(PlacedEvent(middle, 0, style, target).overrides, "{\\an5\\pos(960,270)}");
  CuePlacement margins;
  margins.marginVertical = 0.1;
  EXPECT_EQ(PlacedEvent(margins, 9, style, target).overrides, "{\\an9\\pos(1890,108)}");
  // Cues without a placement keep the one style.
  cues[0].placement = {};
  script = BuildAssScript(cues, MarkupDialect::WebVtt, style, target);
  EXPECT_EQ(script.find("Placed"), std::string::npos);
}

TEST(BuildAssScript, LeadsACueOfAFontOfItsOwnWithItAndKeepsItsLayer) {
  CueFont font;
  font.family = "DejaVu {Serif}";
  font.height = 0.05;
  font.bold = true;
  font.italic = false;
  font.layer = 2;
  const std::vector<HdCue> cues{{1000, 2000, {QStringLiteral("<i>Sign</i>")}, {}, font},
                                {1000, 2000, {QStringLiteral("Plain")}}};
  const std::string script =
      BuildAssScript(cues, MarkupDialect::Srt, HdStyle{}, *HdTargetForLines(1080));
  EXPECT_NE(script.find("Dialogue: 2,0:00:01.00,0:00:02.00,Default,,0,0,0,,"
                        "{\\fnDejaVu Serif\\fs54\\b1\\i0}{\\i1}Sign\n"
                        "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Plain\n"),
            std::string::npos)
      << script;
}

TEST(HdTarget, KnowsTheFourFramesAndCountsFramesAtTheRate) {
  EXPECT_EQ(HdTargetForLines(720), (HdTarget{1280, 720}));
  EXPECT_EQ(HdTargetForLines(480), (HdTarget{720, 480}));
  EXPECT_FALSE(HdTargetForLines(1081));
  const HdTarget target = *HdTargetForLines(1080);
  EXPECT_EQ(FrameStartMs(target, 0), 0);
  EXPECT_EQ(FrameStartMs(target, 1), 42);     // 41.708 ms
  EXPECT_EQ(FrameStartMs(target, 24), 1001);  // exactly
  EXPECT_EQ(FrameAtMs(target, 1000), 23);
  EXPECT_EQ(FrameAtMs(target, 1001), 24);
  EXPECT_EQ(FrameAtMs(target, FrameStartMs(target, 12345)), 12345);
}

}  // namespace
}  // namespace tesmora
