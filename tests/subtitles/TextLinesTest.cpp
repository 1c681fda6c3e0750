#include "subtitles/TextLines.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

using Lines = std::vector<std::string>;

Lines Split(std::string_view text) {
  const LineList lines = SplitLines(text);
  return Lines(lines.begin(), lines.end());
}

TEST(SplitLines, EndsLinesAtEveryKindOfBreak) {
  EXPECT_EQ(Split("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(Split("a\n"), (Lines{"a"}));
  EXPECT_EQ(Split("a\n\n"), (Lines{"a", ""}));
  EXPECT_EQ(Split("\r\n\r\nx"), (Lines{"", "", "x"}));
  EXPECT_EQ(Split(""), Lines{});
  EXPECT_EQ(Split("\n\r"), (Lines{"", ""}));
  EXPECT_EQ(Split(std::string_view("a\0b\x80\n", 5)), (Lines{std::string("a\0b\x80", 4)}));
}

TEST(SplitLines, TakesCrCrLfForOneBreak) {
  EXPECT_EQ(Split("1\r\r\n00:00\r\r\ntext\r\r\n\r\r\n2"), (Lines{"1", "00:00", "text", "", "2"}));
  EXPECT_EQ(Split("a\r\rb"), (Lines{"a", "", "b"}));  // two lone CRs stay two breaks
  EXPECT_EQ(Split("a\r\r\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Split("a\r\r"), (Lines{"a", ""}));
}

TEST(SplitLines, SkipsAUtf8ByteOrderMark) {
  EXPECT_EQ(Split("\xEF\xBB\xBF{1}{1}25.000\nx"), (Lines{"{1}{1}25.000", "x"}));
  EXPECT_EQ(Split("\xEF\xBB"), (Lines{"\xEF\xBB"}));
}

TEST(SplitLines, GivesEachLineByIndexAndEmptyLinesPastTheEnd) {
  const std::string text = "one\r\n\rthree\n\r\nfive";
  const LineList lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "one");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "three");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "five");
  EXPECT_EQ(lines.lineOrEmpty(5), "");
  EXPECT_EQ(lines[4].data(), text.data() + text.size() - 4);  // a view, not a copy
  EXPECT_TRUE(LineList().empty());
  EXPECT_EQ(LineList().lineOrEmpty(0), "");
}

TEST(ParseInteger, ReadsWhatTheIntegerConversionAccepts) {
  EXPECT_EQ(ParseInteger("42"), 42);
  EXPECT_EQ(ParseInteger("  -7"), -7);
  EXPECT_EQ(ParseInteger("+0012"), 12);
  EXPECT_EQ(ParseInteger("$1F"), 31);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", " ", "-", "12 ", "1a", "2147483648", "0x10", "1.5"}) {
    try {
      ParseInteger(bad);
      ADD_FAILURE() << bad;
    } catch (const IntegerError& error) {
      EXPECT_EQ(error.what(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
}

TEST(UpperExtension, TakesTheLastDotOfTheFileName) {
  EXPECT_EQ(UpperExtension("/films/movie.Srt"), ".SRT");
  EXPECT_EQ(UpperExtension("movie.en.sub"), ".SUB");
  EXPECT_EQ(UpperExtension("/films.old/movie"), "");
  EXPECT_EQ(UpperExtension("movie."), ".");
}

}  // namespace
}  // namespace tesmora
