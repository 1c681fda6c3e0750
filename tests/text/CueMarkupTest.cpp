// Cue markup: SRT tags, ASS override blocks, MicroDVD codes and literal text
// turned into styled lines, a placement and a list of removed markup.
#include "text/CueMarkup.h"

#include <gtest/gtest.h>

#include "tests/text/StyledRuns.h"

namespace tesmora {
namespace {

using Lines = std::vector<StyledLine>;

CueText Srt(std::initializer_list<const char*> lines) {
  QStringList list;
  for (const char* line : lines) {
    list.append(QString::fromUtf8(line));
  }
  return ParseCueMarkup(list, MarkupDialect::Srt);
}

CueText MicroDvd(std::initializer_list<const char*> lines) {
  QStringList list;
  for (const char* line : lines) {
    list.append(QString::fromUtf8(line));
  }
  return ParseCueMarkup(list, MarkupDialect::MicroDvd);
}

TEST(CueMarkup, KeepsAPlainLineAsOneRunOfTheSameText) {
  const QStringList lines{QStringLiteral("Where are you going?"), QStringLiteral("  Home. ")};
  for (const MarkupDialect dialect :
       {MarkupDialect::Srt, MarkupDialect::MicroDvd, MarkupDialect::Literal}) {
    const CueText cue = ParseCueMarkup(lines, dialect);
    ASSERT_EQ(cue.lines.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      ASSERT_EQ(cue.lines[i].runs.size(), 1u);
      EXPECT_EQ(cue.lines[i].runs[0].text.constData(), lines[i].constData());
      EXPECT_EQ(cue.lines[i], Line({Styled(lines[i].toUtf8().constData())}));
    }
    EXPECT_EQ(cue.alignment, 0);
    EXPECT_TRUE(cue.removedMarkup.isEmpty());
  }
}

TEST(CueMarkup, SwitchesStylesWithSrtTagsInAnyCase) {
  EXPECT_EQ(Srt({"<i>one</i> <b>two</b> <u>three</u> <s>four</s>"}).lines,
            Lines({Line({Styled("one", "i"), Styled(" "), Styled("two", "b"), Styled(" "),
                         Styled("three", "u"), Styled(" "), Styled("four", "s")})}));
  EXPECT_EQ(Srt({"<I>Shout</I> <B>now</b>"}).lines,
            Lines({Line({Styled("Shout", "i"), Styled(" "), Styled("now", "b")})}));
}

TEST(CueMarkup, NestsTagsAndKeepsThemOpenAcrossLinesToTheEndOfTheCue) {
  EXPECT_EQ(Srt({"<b>bold <i>both</i> bold</b> plain"}).lines,
            Lines({Line({Styled("bold ", "b"), Styled("both", "bi"), Styled(" bold", "b"),
                         Styled(" plain")})}));
  EXPECT_EQ(Srt({"<i>Singing,", "still singing</i>", "done"}).lines,
            Lines({Line({Styled("Singing,", "i")}), Line({Styled("still singing", "i")}),
                   Line({Styled("done")})}));
  // Left open: the rest of the cue is italic, and the next line is plain
  // text without markup of its own.
  const QStringList open{QStringLiteral("<i>Never closed"), QStringLiteral("second")};
  const CueText cue = ParseCueMarkup(open, MarkupDialect::Srt);
  EXPECT_EQ(cue.lines, Lines({Line({Styled("Never closed", "i")}), Line({Styled("second", "i")})}));
  EXPECT_EQ(cue.lines[1].runs[0].text.constData(), open[1].constData());
}

TEST(CueMarkup, MergesNeighbouringRunsOfTheSameStyle) {
  EXPECT_EQ(Srt({"<i>a</i><i>b</i>c<b></b>d"}).lines,
            Lines({Line({Styled("ab", "i"), Styled("cd")})}));
}

TEST(CueMarkup, RemovesFontAndOtherFormattingTagsAndListsTheOpeningOnes) {
  const CueText cue = Srt({"<font color=\"#ffff00\">x</font>",
                           "<c.yellow>y</c> <v Bob>z</v> <FONT face=Arial>w</FONT>"});
  EXPECT_EQ(cue.lines, Lines({Line({Styled("x")}), Line({Styled("y z w")})}));
  EXPECT_EQ(cue.removedMarkup, QStringList({"<font color=\"#ffff00\">", "<c.yellow>", "<v Bob>",
                                            "<FONT face=Arial>"}));
}

TEST(CueMarkup, LeavesTextThatOnlyLooksLikeATag) {
  for (const char* text :
       {"a < b", "I <3 you", "<<Title>>", "x<y> z", "</i am>", "<i", "< i>", "<ix>", "</ b>"}) {
    const CueText cue = Srt({text});
    EXPECT_EQ(cue.lines, Lines({Line({Styled(text)})})) << text;
    EXPECT_TRUE(cue.removedMarkup.isEmpty()) << text;
  }
  EXPECT_EQ(Srt({"<<i>Title</i>>"}).lines,
            Lines({Line({Styled("<"), Styled("Title", "i"), Styled(">")})}));
}

TEST(CueMarkup, EndsATagAtTheFirstCharacterThatCannotBelongToIt) {
  // Classes, annotations and white space inside tags.
  const CueText cue = Srt({"<c.a.b>x</c\t> <i \tlong annotation>y</i  > <v.loud Ann Lee>z</v>"});
  EXPECT_EQ(cue.lines, Lines({Line({Styled("x "), Styled("y", "i"), Styled(" z")})}));
  EXPECT_EQ(cue.removedMarkup, QStringList({"<c.a.b>", "<v.loud Ann Lee>"}));
  // An empty class, a "<" inside, or white space other than ASCII's end
  // the tag before its ">"; the next "<" may start a tag of its own.
  for (const char* text : {"<c.>x", "<c..a>x", "<i\u00A0>x", "</i.a>x", "<i.a\tb"}) {
    EXPECT_EQ(Srt({text}).lines, Lines({Line({Styled(text)})})) << text;
  }
  EXPECT_EQ(Srt({"<i x<b>y"}).lines, Lines({Line({Styled("<i x"), Styled("y", "b")})}));
}

TEST(CueMarkup, ReadsLinesOfTensOfThousandsOfTagsWhole) {
  QString srt;
  QString ass;
  QString microDvd = QStringLiteral("{y:i}");
  QString braces;
  for (int i = 0; i < 40'000; ++i) {
    srt += QStringLiteral("<b>a</b><i>b</i>");
    ass += QStringLiteral("{\\b1}a{\\b0}b");
    microDvd += QStringLiteral("{c:$FF}x");
    braces += QStringLiteral("{\\i1 ");
  }
  CueText cue = ParseCueMarkup({srt}, MarkupDialect::Srt);
  ASSERT_EQ(cue.lines.size(), 1u);
  EXPECT_EQ(cue.lines[0].runs.size(), 80'000u);
  EXPECT_EQ(cue.lines[0].plainText(), QStringLiteral("ab").repeated(40'000));
  cue = ParseCueMarkup({ass}, MarkupDialect::Srt);
  ASSERT_EQ(cue.lines.size(), 1u);
  EXPECT_EQ(cue.lines[0].runs.size(), 80'000u);
  EXPECT_TRUE(cue.lines[0].runs[0].bold);
  EXPECT_FALSE(cue.lines[0].runs[1].bold);
  cue = ParseCueMarkup({microDvd}, MarkupDialect::MicroDvd);
  EXPECT_EQ(cue.lines, Lines({Line({TextRun{QString(40'000, u'x'), false, true}})}));
  EXPECT_EQ(cue.removedMarkup.size(), 40'000);
  // Blocks never closed stay text.
  EXPECT_EQ(ParseCueMarkup({braces}, MarkupDialect::Srt).lines, Lines({Line({TextRun{braces}})}));
}

TEST(CueMarkup, SwitchesStylesWithAssOverrides) {
  EXPECT_EQ(Srt({"{\\i1}x{\\i0} {\\b1}y{\\b0} {\\u1}z{\\u0} {\\s1}w{\\s0}"}).lines,
            Lines({Line({Styled("x", "i"), Styled(" "), Styled("y", "b"), Styled(" "),
                         Styled("z", "u"), Styled(" "), Styled("w", "s")})}));
  // Several commands in one block, a bare \i that ends italic, weights, and
  // \r that ends every style.
  EXPECT_EQ(Srt({"{\\i1\\b1}a{\\i}b{\\b700}c{\\b400}d{\\u1\\s1}e{\\r}f"}).lines,
            Lines({Line({Styled("a", "bi"), Styled("bc", "b"), Styled("d"), Styled("e", "us"),
                         Styled("f")})}));
}

TEST(CueMarkup, PlacesTheCueWithTheFirstAlignmentOverride) {
  const CueText cue = Srt({"{\\an8}Top", "text{\\an2}"});
  EXPECT_EQ(cue.alignment, 8);
  EXPECT_EQ(cue.lines, Lines({Line({Styled("Top")}), Line({Styled("text")})}));
  EXPECT_EQ(cue.removedMarkup, QStringList({"\\an2"}));
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(Srt({QStringLiteral("{\\an%1}x").arg(n).toUtf8().constData()}).alignment, n);
  }
  // Legacy codes: 1-3 bottom, 5-7 top, 9-11 middle; left, centre, right.
  const std::pair<int, int> legacy[] = {{1, 1}, {2, 2}, {3, 3},  {5, 7}, {6, 8},
                                        {7, 9}, {9, 4}, {10, 5}, {11, 6}};
  for (const auto& [code, numpad] : legacy) {
    EXPECT_EQ(Srt({QStringLiteral("{\\a%1}x").arg(code).toUtf8().constData()}).alignment, numpad)
        << code;
  }
  const CueText unknown = Srt({"{\\a4}{\\an0}x"});
  EXPECT_EQ(unknown.alignment, 0);
  EXPECT_EQ(unknown.removedMarkup, QStringList({"\\a4", "\\an0"}));
}

TEST(CueMarkup, LeavesOutALineThatHeldOnlyMarkup) {
  const CueText cue = Srt({"{\\an8}", "Text"});
  EXPECT_EQ(cue.lines, Lines({Line({Styled("Text")})}));
  EXPECT_EQ(cue.alignment, 8);
  EXPECT_EQ(Srt({"<i> </i>", "x", "</font>"}).lines, Lines({Line({Styled("x")})}));
  EXPECT_TRUE(Srt({"{\\pos(1,2)}"}).lines.empty());
  // An empty line of the file, and an empty line made by \N, stay.
  EXPECT_EQ(Srt({"a", "", "b"}).lines,
            Lines({Line({Styled("a")}), Line({Styled("")}), Line({Styled("b")})}));
  EXPECT_EQ(Srt({"\\Nb"}).lines, Lines({Line({Styled("")}), Line({Styled("b")})}));
}

TEST(CueMarkup, RemovesOtherOverridesAndListsThem) {
  const CueText cue =
      Srt({"{\\pos(10,10)}x{\\fnArial\\fs20\\c&H00FFFF&}y{\\t(0,500,\\fs30)\\blur2}"});
  EXPECT_EQ(cue.lines, Lines({Line({Styled("xy")})}));
  EXPECT_EQ(cue.removedMarkup, QStringList({"\\pos(10,10)", "\\fnArial", "\\fs20", "\\c&H00FFFF&",
                                            "\\t(0,500,\\fs30)", "\\blur2"}));
  // Look-alikes of the style commands are other commands.
  const CueText lookAlikes = Srt({"{\\bord2\\shad1\\iclip(0,0,1,1)\\alpha&H80&\\be1}x"});
  EXPECT_EQ(lookAlikes.lines, Lines({Line({Styled("x")})}));
  EXPECT_EQ(lookAlikes.removedMarkup,
            QStringList({"\\bord2", "\\shad1", "\\iclip(0,0,1,1)", "\\alpha&H80&", "\\be1"}));
}

TEST(CueMarkup, BreaksLinesAtBackslashNAndMakesNonBreakingSpaces) {
  EXPECT_EQ(Srt({"one\\Ntwo\\Nthree", "four"}).lines,
            Lines({Line({Styled("one")}), Line({Styled("two")}), Line({Styled("three")}),
                   Line({Styled("four")})}));
  EXPECT_EQ(Srt({"<i>a\\Nb</i>"}).lines,
            Lines({Line({Styled("a", "i")}), Line({Styled("b", "i")})}));
  EXPECT_EQ(Srt({"10\\hkm"}).lines, Lines({Line({Styled("10\u00A0km")})}));
  EXPECT_EQ(Srt({"C:\\temp\\x"}).lines, Lines({Line({Styled("C:\\temp\\x")})}));
  // MicroDVD files converted from ASS carry the same escapes.
  EXPECT_EQ(MicroDvd({"{y:i}one\\Ntwo", "10\\hkm"}).lines,
            Lines({Line({Styled("one", "i")}), Line({Styled("two", "i")}),
                   Line({Styled("10\u00A0km")})}));
}

TEST(CueMarkup, KeepsALowerCaseBackslashNAsText) {
  for (const MarkupDialect dialect : {MarkupDialect::Srt, MarkupDialect::MicroDvd}) {
    const CueText cue = ParseCueMarkup({QStringLiteral("Saved in C:\\new\\data\\n")}, dialect);
    EXPECT_EQ(cue.lines, Lines({Line({Styled("Saved in C:\\new\\data\\n")})}));
    EXPECT_TRUE(cue.removedMarkup.isEmpty());
  }
}

TEST(CueMarkup, LeavesBracesWithoutABackslashOrWithoutAnEnd) {
  for (const char* text : {"{no backslash}", "{}", "{\\i1 unclosed", "{a\\i1}"}) {
    EXPECT_EQ(Srt({text}).lines, Lines({Line({Styled(text)})})) << text;
  }
  // The block inside the outer brace is markup.
  EXPECT_EQ(Srt({"{x{\\i1}y}"}).lines, Lines({Line({Styled("{x"), Styled("y}", "i")})}));
}

TEST(CueMarkup, StylesMicroDvdLinesAndCuesByTheirLeadingCodes) {
  EXPECT_EQ(MicroDvd({"{y:i}one", "two"}).lines,
            Lines({Line({Styled("one", "i")}), Line({Styled("two")})}));
  EXPECT_EQ(MicroDvd({"one", "{Y:b}two"}).lines,
            Lines({Line({Styled("one", "b")}), Line({Styled("two", "b")})}));
  EXPECT_EQ(MicroDvd({"{Y:b}{y:i,u}one", "{y:s}two"}).lines,
            Lines({Line({Styled("one", "biu")}), Line({Styled("two", "bs")})}));
  EXPECT_EQ(MicroDvd({"/Italic", "plain / slash"}).lines,
            Lines({Line({Styled("Italic", "i")}), Line({Styled("plain / slash")})}));
  EXPECT_EQ(MicroDvd({"{y:b}/both"}).lines, Lines({Line({Styled("both", "bi")})}));
}

TEST(CueMarkup, RemovesOtherMicroDvdCodesAndListsThem) {
  const CueText cue = MicroDvd({"{c:$0000FF}{f:Arial}{s:20}blue", "{P:10,20}{H:cp1250}x{y:i}"});
  EXPECT_EQ(cue.lines, Lines({Line({Styled("blue")}), Line({Styled("x")})}));
  // A style code after the line's start, or with letters it does not know,
  // has no effect.
  EXPECT_EQ(cue.removedMarkup, QStringList({"{c:$0000FF}", "{f:Arial}", "{s:20}", "{P:10,20}",
                                            "{H:cp1250}", "{y:i}"}));
  const CueText unknown = MicroDvd({"{y:q}x"});
  EXPECT_EQ(unknown.lines, Lines({Line({Styled("x")})}));
  EXPECT_EQ(unknown.removedMarkup, QStringList({"{y:q}"}));
}

TEST(CueMarkup, ReadsSrtTagsButNotAssOverridesInMicroDvdCues) {
  const CueText cue = MicroDvd({"{y:b}<i>both</i> {\\an8}"});
  EXPECT_EQ(cue.lines, Lines({Line({Styled("both", "bi"), Styled(" {\\an8}", "b")})}));
  EXPECT_EQ(cue.alignment, 0);
}

TEST(CueMarkup, DecodesWebVttReferencesAfterTheTagsSoAnEscapedTagStaysText) {
  const QStringList lines{QStringLiteral("&lt;i&gt; is <i>italic</i> &amp; R&D &copy;"),
                          QStringLiteral("a&nbsp;b&lrm;&rlm; {\\an8}\\N")};
  const CueText cue = ParseCueMarkup(lines, MarkupDialect::WebVtt);
  EXPECT_EQ(cue.lines,
            Lines({Line({Styled("<i> is "), Styled("italic", "i"), Styled(" & R&D &copy;")}),
                   Line({Styled("a\u00A0b\u200E\u200F {\\an8}\\N")})}));
  // ASS overrides and escapes are text in WebVTT; speaker and class tags go.
  EXPECT_EQ(cue.alignment, 0);
  const CueText speaker = ParseCueMarkup(
      {QStringLiteral("<v.loud Ann>Hi</v> <lang en>there</lang>")}, MarkupDialect::WebVtt);
  EXPECT_EQ(speaker.lines, Lines({Line({Styled("Hi there")})}));
  EXPECT_EQ(speaker.removedMarkup, QStringList({"<v.loud Ann>", "<lang en>"}));
}

TEST(CueMarkup, DrawsLiteralTextExactlyAsWritten) {
  const QStringList lines{QStringLiteral("<i>{\\an8}x</i>"), QString(), QStringLiteral("{y:i}/a")};
  const CueText cue = ParseCueMarkup(lines, MarkupDialect::Literal);
  EXPECT_EQ(cue.lines, Lines({Line({Styled("<i>{\\an8}x</i>")}), Line({Styled("")}),
                              Line({Styled("{y:i}/a")})}));
  EXPECT_EQ(cue.alignment, 0);
  EXPECT_TRUE(cue.removedMarkup.isEmpty());
}

TEST(StyledLine, JoinsItsRunsAsPlainText) {
  EXPECT_EQ(Line({Styled("a", "i"), Styled(" b"), Styled("c", "s")}).plainText(),
            QStringLiteral("a bc"));
}

}  // namespace
}  // namespace tesmora
