#include "subtitles/TextLines.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, EndsLinesAtEveryKindOfBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n"), (Lines{"a"}));
  EXPECT_EQ(SplitLines("a\n\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitLines("\r\n\r\nx"), (Lines{"", "", "x"}));
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("\n\r"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines(std::string_view("a\0b\x80\n", 5)), (Lines{std::string("a\0b\x80", 4)}));
}

TEST(SplitLines, SkipsAUtf8ByteOrderMark) {
  EXPECT_EQ(SplitLines("\xEF\xBB\xBF{1}{1}25.000\nx"), (Lines{"{1}{1}25.000", "x"}));
  EXPECT_EQ(SplitLines("\xEF\xBB"), (Lines{"\xEF\xBB"}));
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
