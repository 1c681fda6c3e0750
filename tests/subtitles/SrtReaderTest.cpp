#include "subtitles/SrtReader.h"

#include <gtest/gtest.h>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

TEST(SrtTimeToMs, ReadsToTheMillisecond) {
  EXPECT_EQ(SrtTimeToMs("00:01:02,345"), 62345);
  EXPECT_EQ(SrtTimeToMs("00:00:01.999"), 1999);
  EXPECT_EQ(SrtTimeToMs("10:00:00,000"), 36000000);
  EXPECT_THROW(SrtTimeToMs("0a:00:00,000"), IntegerError);
}

TEST(ReadSrt, ReadsOneAndTwoLineCues) {
  const SubtitleReadResult result = ReadSrt(
      SplitLines("1\r\n00:00:01,999 --> 00:00:02,005\r\nHello\r\nWorld\r\nthird line\r\n\r\n"
                 "2\r\n00:00:05,000 --> 00:00:04,000\r\nBackwards\r\n"));
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1999, 6, {"Hello", "World", "third line"}}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{5000, -1000, {"Backwards"}}));
  EXPECT_EQ(result.listTexts,
            (std::vector<std::string>{"Hello | World | third line", "Backwards"}));
  EXPECT_TRUE(result.error.empty());
  EXPECT_EQ(result.unreadTimingLines, 0);
}

// A reader that shows no list gets the same cues and notes without them.
TEST(ReadSrt, SkipsTheListTextsWhenAskedAndReadsTheSameCues) {
  const LineList lines = SplitLines(
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\nWorld\r\n\r\n"
      "2\r\n00:00:03,000 --> 00:00:04,000\r\n\r\n"
      "3\r\n00:00:05,000 --> 00:00:06,000\r\nLook --> there\r\n\r\n"
      "00:00:07 --> 00:00:08\r\nLost\r\n");
  const SubtitleReadResult made = ReadSrt(lines);
  const SubtitleReadResult skipped = ReadSrt(lines, ListTexts::Skipped);
  EXPECT_EQ(made.listTexts, (std::vector<std::string>{"Hello | World", "Look --> there"}));
  EXPECT_TRUE(skipped.listTexts.empty());
  EXPECT_EQ(skipped.entries, made.entries);
  EXPECT_EQ(skipped.entries.size(), 2u);
  EXPECT_EQ(skipped.notes, made.notes);
  EXPECT_EQ(skipped.notes.size(), 1u);  // the cue without text
  EXPECT_EQ(skipped.unreadTimingLines, 1);
  EXPECT_EQ(skipped.firstUnreadLineNumber, made.firstUnreadLineNumber);
}

TEST(ReadSrt, ReadsLooselyWrittenTimingLinesToo) {
  const SubtitleReadResult result = ReadSrt(
      SplitLines("1\n00:00:01,000 --> 00:00:04,000 \ntrailing blank\n\n"
                 "2\n00:00:05,000 --> 00:00:06,000 X1:100 X2:600 Y1:50 Y2:100\ncoordinates\n\n"
                 "3\n0:00:07,000 --> 0:00:08,5\none-digit hour\n\n"
                 "4\n00:00:09,000-->00:00:10,000\nno blanks\n\n"
                 "5\n00:00:11,000 --> 00:00:12,000 00:00:01,000 --> 00:00:02,000\nlong\n"));
  ASSERT_EQ(result.entries.size(), 5u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1000, 3000, {"trailing blank"}}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{5000, 1000, {"coordinates"}}));
  EXPECT_EQ(result.entries[2], (SubtitleEntry{7000, 1500, {"one-digit hour"}}));
  EXPECT_EQ(result.entries[3].startMs, 9000);
  EXPECT_EQ(result.entries[4].startMs, 11000);  // 58 characters: the first half counts
  EXPECT_EQ(result.unreadTimingLines, 0);
}

TEST(ReadSrt, CountsTimingLinesItCannotRead) {
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n00:00:01 --> 00:00:02\nno fraction\n\n"
                         "2\n00:00:03,000 --> 00:00:04,000\nfine\n\n"
                         "3\nsee --> there\nnot a time\n"));
  EXPECT_EQ(result.entries.size(), 1u);
  EXPECT_EQ(result.unreadTimingLines, 2);
  EXPECT_EQ(result.firstUnreadLineNumber, 2);
  EXPECT_EQ(result.firstUnreadLine, "00:00:01 --> 00:00:02");
}

TEST(ReadSrt, TakesAnArrowInACuesTextForText) {
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n00:00:01,000 --> 00:00:02,000\nLook at this! --> Over there.\n\n"
                         "2\n00:00:03,000 --> 00:00:04,000\nfirst\nthen --> that\n"
                         "and a third --> line\n\n"
                         "3\n00:00:05,000 --> 00:00:06,000\n1984\n"));
  ASSERT_EQ(result.entries.size(), 3u);
  EXPECT_EQ(result.entries[0].line1(), "Look at this! --> Over there.");
  EXPECT_EQ(result.entries[1].lines,
            (std::vector<std::string>{"first", "then --> that", "and a third --> line"}));
  EXPECT_EQ(result.unreadTimingLines, 0);
}

TEST(ReadSrt, CountsAnUnreadTimingLineWhereverOneIsExpected) {
  // At the file's start, after a blank line (also one of blanks) and after
  // a cue number, even in a file without blank lines between cues.
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1:2 --> x\nfirst\n \t\nnext --> line\ntext\n"
                         "00:00:01,000 --> 00:00:02,000\nfine\n 7 \nbad --> time\ntext\n"));
  EXPECT_EQ(result.entries.size(), 1u);
  EXPECT_EQ(result.unreadTimingLines, 3);
  EXPECT_EQ(result.firstUnreadLineNumber, 1);
  EXPECT_EQ(result.firstUnreadLine, "1:2 --> x");
}

TEST(ReadSrt, DropsACueWithoutTextWhole) {
  const SubtitleReadResult result = ReadSrt(
      SplitLines("1\n00:00:01,000 --> 00:00:02,000\n\n2\n00:00:03,000 --> 00:00:04,000\nkept\n"));
  ASSERT_EQ(result.entries.size(), 1u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{3000, 1000, {"kept"}}));
  EXPECT_EQ(result.listTexts.size(), 1u);
  EXPECT_EQ(result.notes, (std::vector<std::string>{
                              "The subtitle whose timing is at line 2 has no text and was left "
                              "out."}));
  // A timing line directly followed by the next one has no text either.
  const SubtitleReadResult several =
      ReadSrt(SplitLines("1\n00:00:01,000 --> 00:00:02,000\n00:00:03,000 --> 00:00:04,000\nx\n\n"
                         "3\n00:00:05,000 --> 00:00:06,000\n\n\n"));
  EXPECT_EQ(several.entries.size(), 1u);
  EXPECT_EQ(several.notes, (std::vector<std::string>{
                               "2 subtitles have no text and were left out; the first has its "
                               "timing at line 2."}));
}

TEST(ReadSrt, PassesOverATimingLineWithAFieldThatIsNoNumber) {
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n00:00:01,000 --> 00:00:02,000\nfirst\n\n2\n00:00:0x,000 --> "
                         "00:00:04,000\nsecond\n\n3\n00:00:05,000 --> 00:00:06,000\nthird\n"));
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[1], (SubtitleEntry{5000, 1000, {"third"}}));
  EXPECT_TRUE(result.error.empty());
  EXPECT_EQ(result.unreadTimingLines, 1);
  EXPECT_EQ(result.firstUnreadLineNumber, 6);
}

TEST(ReadSrt, TakesATextLineOfTheTimingLinesLengthForText) {
  // 29 characters with the arrow where a timing line has it.
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n00:00:01,000 --> 00:00:02,000\nLo, the ship --> is in port.\n\n"
                         "2\n00:00:03,000 --> 00:00:04,000\nafter\n"));
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[0].lines, (std::vector<std::string>{"Lo, the ship --> is in port."}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{3000, 1000, {"after"}}));
  EXPECT_TRUE(result.error.empty());
  EXPECT_EQ(result.unreadTimingLines, 0);
}

TEST(ReadSrt, ReadsAllThreeMillisecondDigitsAndAPointBeforeThem) {
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n00:00:01,001 --> 00:00:02,009\na\n\n"
                         "2\n00:00:03.456 --> 00:00:04.567\nb\n\n"
                         "3\n00:00:05,05 --> 00:00:06,5\nc\n"));
  ASSERT_EQ(result.entries.size(), 3u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1001, 1008, {"a"}}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{3456, 1111, {"b"}}));
  EXPECT_EQ(result.entries[2], (SubtitleEntry{5050, 1450, {"c"}}));
}

TEST(ReadSrt, StartsTheNextCueAtItsNumberWhereTheBlankLineIsMissing) {
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n00:00:01,000 --> 00:00:02,000\nfirst\n2\n00:00:03,000 --> "
                         "00:00:04,000\nThe year\n1984\nwas long.\n3\n00:00:05,000 --> "
                         "00:00:06,000\nthird\n"));
  ASSERT_EQ(result.entries.size(), 3u);
  EXPECT_EQ(result.entries[0].lines, (std::vector<std::string>{"first"}));
  EXPECT_EQ(result.entries[1].lines, (std::vector<std::string>{"The year", "1984", "was long."}));
  EXPECT_EQ(result.entries[2], (SubtitleEntry{5000, 1000, {"third"}}));
}

TEST(ReadSrt, TakesCrCrLfForOneLineBreak) {
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\r\r\n00:00:01,000 --> 00:00:02,000\r\r\nup\r\r\ndown\r\r\n\r\r\n"
                         "2\r\r\n00:00:03,000 --> 00:00:04,000\r\r\nnext\r\r\n"));
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1000, 1000, {"up", "down"}}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{3000, 1000, {"next"}}));
}

TEST(ReadSrt, ReadsCuesBeforeZeroAndListsTheEarliestWithTheirMessages) {
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n-0:00:01,000 --> 00:00:02,000\nearly\n\n"
                         "2\n-00:00:00,500 --> 00:00:01,000\nless early\n\n"
                         "3\n00:00:03,000 --> 00:00:04,000\nin time\n\n"
                         "4\n-1:00:01,000 --> 00:00:02,000\nearliest\n"));
  EXPECT_TRUE(result.error.empty());
  ASSERT_EQ(result.entries.size(), 4u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{-1000, 3000, {"early"}}));
  EXPECT_EQ(result.entries[3].startMs, -3601000);
  // Cue 2 starts later than cue 1: were it still before 0, cue 1 would be too.
  ASSERT_EQ(result.earlyCues.size(), 2u);
  EXPECT_EQ(result.earlyCues[0].entry, 0u);
  EXPECT_EQ(result.earlyCues[0].message,
            "The subtitle at line 2 starts before the beginning of the video (-0:00:01,000 --> "
            "00:00:02,000); a subpicture cannot start before 0. Please correct the file and load "
            "it again");
  EXPECT_EQ(result.earlyCues[1].entry, 3u);
  EXPECT_EQ(result.earlyCues[1].startMs, -3601000);
  EXPECT_TRUE(result.earlyCues[1].message.starts_with(
      "The subtitle at line 14 starts before the beginning of the video (-1:00:01,000 --> "))
      << result.earlyCues[1].message;
}

TEST(ReadSrt, TakesALineOfBlanksForText) {
  // A line of blanks is the cue's first line, not the end of the cue.
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n00:00:01,000 --> 00:00:02,000\n   \nThe text\n\n"
                         "2\n00:00:03,000 --> 00:00:04,000\n\t\n"));
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1000, 1000, {"   ", "The text"}}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{3000, 1000, {"\t"}}));
  EXPECT_EQ(result.listTexts, (std::vector<std::string>{"    | The text", "\t"}));
  EXPECT_TRUE(result.notes.empty());
}

TEST(ReadSrt, EndsACueOnlyAtEmptyLinesBeforeTheNextCueOrTheEnd) {
  const SubtitleReadResult result =
      ReadSrt(SplitLines("1\n00:00:01,000 --> 00:00:02,000\nfirst\n\n\nstill first\n\n\n"
                         "2\n00:00:03,000 --> 00:00:04,000\nsecond\n\n"
                         "00:00:05 --> 00:00:06\nunread\n\n"
                         "3\n00:00:07,000 --> 00:00:08,000\nthird\n\n\n"));
  ASSERT_EQ(result.entries.size(), 3u);
  EXPECT_EQ(result.entries[0].lines, (std::vector<std::string>{"first", "", "", "still first"}));
  EXPECT_EQ(result.entries[1].lines, (std::vector<std::string>{"second"}));
  EXPECT_EQ(result.entries[2].lines, (std::vector<std::string>{"third"}));
  // The empty lines before a timing line it cannot read end the cue, so
  // that the line is counted.
  EXPECT_EQ(result.unreadTimingLines, 1);
  EXPECT_EQ(result.firstUnreadLineNumber, 13);
}

}  // namespace
}  // namespace tesmora
