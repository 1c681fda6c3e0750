// Wrapping a styled line that is too wide into balanced lines.
#include "text/LineWrap.h"

#include <gtest/gtest.h>

#include "tests/text/StyledRuns.h"

namespace tesmora {
namespace {

using Lines = std::vector<StyledLine>;

// 10 pixels a character, 20 in bold.
long long TenPerCharacter(const StyledLine& line) {
  long long width = 0;
  for (const TextRun& run : line.runs) {
    width += run.text.size() * (run.bold ? 20 : 10);
  }
  return width;
}

// More lines than any of these tests needs.
constexpr std::size_t kRoomyLines = 50;

WrappedLine Wrap(const StyledLine& line, long long limit) {
  return WrapLine(line, limit, TenPerCharacter, kRoomyLines);
}

TEST(LineWrap, ReturnsALineThatFitsAsItIs) {
  const StyledLine line = Line({Styled("  Short ", "i"), Styled("line")});
  const WrappedLine wrapped = Wrap(line, 130);
  EXPECT_EQ(wrapped.lines, Lines({line}));
  EXPECT_TRUE(wrapped.tooWideWord.isEmpty());
  // A line exactly as wide as the limit does not fit.
  EXPECT_EQ(Wrap(Line({Styled("aaa bbb")}), 70).lines,
            Lines({Line({Styled("aaa")}), Line({Styled("bbb")})}));
}

TEST(LineWrap, BalancesTwoLinesRatherThanFillingTheFirst) {
  // Filling the first line would give 25 and 17 characters.
  EXPECT_EQ(
      Wrap(Line({Styled("The quick brown fox jumps over the lazy dog")}), 300).lines,
      Lines({Line({Styled("The quick brown fox")}), Line({Styled("jumps over the lazy dog")})}));
}

TEST(LineWrap, UsesTheFewestLinesThenTheNarrowestWidestThenTheMostEven) {
  // Three lines of at most 21 characters either way; 16, 17, 21 is more
  // even than 12, 21, 21.
  EXPECT_EQ(
      Wrap(Line({Styled("I never said she stole my money, I only said someone did")}), 250).lines,
      Lines({Line({Styled("I never said she")}), Line({Styled("stole my money, I")}),
             Line({Styled("only said someone did")})}));
  // A full tie puts the shorter line on top.
  EXPECT_EQ(Wrap(Line({Styled("aaa bb ccc")}), 70).lines,
            Lines({Line({Styled("aaa")}), Line({Styled("bb ccc")})}));
}

TEST(LineWrap, KeepsRunStylesAcrossBreaksAndDropsTheBreakSpaces) {
  EXPECT_EQ(
      Wrap(Line({Styled("Hold "), Styled("the door open", "i"), Styled(" for me")}), 200).lines,
      Lines({Line({Styled("Hold "), Styled("the door", "i")}),
             Line({Styled("open", "i"), Styled(" for me")})}));
  EXPECT_EQ(Wrap(Line({Styled("aaa   bbb")}), 50).lines,
            Lines({Line({Styled("aaa")}), Line({Styled("bbb")})}));
  // Spaces before the first word and after the last are no break.
  EXPECT_EQ(Wrap(Line({Styled("  aaa bbb ")}), 60).lines,
            Lines({Line({Styled("  aaa")}), Line({Styled("bbb ")})}));
}

// Japanese has no spaces between words: it breaks between its characters,
// all of which stay, but not before a closing mark such as "。".
TEST(LineWrap, BreaksJapaneseBetweenCharactersKeepingThemAll) {
  EXPECT_EQ(Wrap(Line({Styled("吾輩は猫である。名前はまだ無い。")}), 100).lines,
            Lines({Line({Styled("吾輩は猫である。")}), Line({Styled("名前はまだ無い。")})}));
  // Five characters a line would put "。" at the start of the second.
  const WrappedLine marks = Wrap(Line({Styled("あいうえお。かきくけ")}), 60);
  ASSERT_EQ(marks.lines.size(), 3u);
  QString joined;
  for (const StyledLine& line : marks.lines) {
    EXPECT_FALSE(line.plainText().startsWith(u'。')) << line.plainText().toStdString();
    joined += line.plainText();
  }
  EXPECT_EQ(joined, QString::fromUtf8("あいうえお。かきくけ"));
}

// Latin words stay whole and lose the spaces where the line breaks; CJK
// characters beside them break as they do alone, and keep their styles.
// "ー" lengthens the sound before it and never starts a line.
TEST(LineWrap, BreaksMixedLatinAndCjkTextAtSpacesAndBetweenIdeographs) {
  EXPECT_EQ(Wrap(Line({Styled("The sign says "), Styled("東京タワー展望台", "i"),
                       Styled(" in big letters")}),
                 110)
                .lines,
            Lines({Line({Styled("The sign")}), Line({Styled("says "), Styled("東京タワー", "i")}),
                   Line({Styled("展望台", "i"), Styled(" in big")}), Line({Styled("letters")})}));
}

TEST(LineWrap, MeasuresEachCandidateLineInItsStyles) {
  // Plain, "aaaa" above "bb cccc" would tie and win; the bold word makes
  // the second line 110 pixels wide.
  EXPECT_EQ(Wrap(Line({Styled("aaaa bb "), Styled("cccc", "b")}), 120).lines,
            Lines({Line({Styled("aaaa bb")}), Line({Styled("cccc", "b")})}));
}

TEST(LineWrap, NamesTheFirstWordTooWideForALineOfItsOwn) {
  const WrappedLine wrapped = Wrap(Line({Styled("A "), Styled("supercalifragilistic", "b"),
                                         Styled(" and antidisestablishment")}),
                                   200);
  EXPECT_TRUE(wrapped.lines.empty());
  EXPECT_EQ(wrapped.tooWideWord, QStringLiteral("supercalifragilistic"));
  EXPECT_EQ(Wrap(Line({Styled("Unbreakable")}), 100).tooWideWord, QStringLiteral("Unbreakable"));
}

TEST(LineWrap, TakesWidthsBeyondThirtyTwoBits) {
  const auto huge = [](const StyledLine& line) {
    return static_cast<long long>(line.plainText().size()) * 1'000'000'000LL;
  };
  EXPECT_EQ(WrapLine(Line({Styled("aa bb cc dd")}), 6'000'000'000LL, huge, kRoomyLines).lines,
            Lines({Line({Styled("aa bb")}), Line({Styled("cc dd")})}));
}

// "w0 w1 w2 ...": `count` words of two letters, one a line at a limit of 30.
StyledLine NumberedWords(int count, int from = 0) {
  QString text;
  for (int i = from; i < from + count; ++i) {
    text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + QChar(u'a' + i / 10 % 26) +
            QChar(u'0' + i % 10);
  }
  return StyledLine{{TextRun{text}}};
}

TEST(LineWrap, BreaksALineIntoAsManyLinesAsAllowedButNoMore) {
  const WrappedLine three = WrapLine(NumberedWords(3), 30, TenPerCharacter, 3);
  EXPECT_EQ(three.lines, Lines({Line({Styled("a0")}), Line({Styled("a1")}), Line({Styled("a2")})}));
  EXPECT_FALSE(three.tooManyLines);

  const WrappedLine four = WrapLine(NumberedWords(4), 30, TenPerCharacter, 3);
  EXPECT_TRUE(four.lines.empty());
  EXPECT_TRUE(four.tooManyLines);
  EXPECT_TRUE(four.tooWideWord.isEmpty());
}

TEST(LineWrap, NamesATooWideWordOnlyWithinTheLinesAllowed) {
  StyledLine early = NumberedWords(2);
  early.runs[0].text += QStringLiteral(" toolong ") + NumberedWords(5).plainText();
  EXPECT_EQ(WrapLine(early, 30, TenPerCharacter, 3).tooWideWord, QStringLiteral("toolong"));

  StyledLine late = NumberedWords(5);
  late.runs[0].text += QStringLiteral(" toolong");
  const WrappedLine wrapped = WrapLine(late, 30, TenPerCharacter, 3);
  EXPECT_TRUE(wrapped.tooManyLines);
  EXPECT_TRUE(wrapped.tooWideWord.isEmpty());
}

TEST(LineWrap, MeasuresALineTooLongForTheLinesAllowedAsOftenWhateverItsLength) {
  const auto measures = [](int words) {
    int calls = 0;
    const StyledLineWidth counting = [&calls](const StyledLine& line) {
      ++calls;
      return TenPerCharacter(line);
    };
    EXPECT_TRUE(WrapLine(NumberedWords(words), 60, counting, 4).tooManyLines);
    return calls;
  };
  // The whole line once, then for each line allowed: one word, two, and three,
  // which is too wide; the fifth line is not started.
  EXPECT_EQ(measures(100), 1 + 4 * 3);
  EXPECT_EQ(measures(100'000), measures(100));
}

}  // namespace
}  // namespace tesmora
