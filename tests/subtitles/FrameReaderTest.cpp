#include "subtitles/FrameReader.h"

#include <gtest/gtest.h>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

TEST(FrameRateText, TakesWhatFollowsTheFirstTwoBraceGroups) {
  EXPECT_EQ(FrameRateText("{1}{1}25.000"), "25.000");
  EXPECT_EQ(FrameRateText("{1}{25}23.976"), "23.976");
  EXPECT_EQ(FrameRateText("xxxxxx25"), "25");
  EXPECT_EQ(FrameRateText("{1}25.000"), "000");  // no two groups: after six characters
  EXPECT_EQ(FrameRateText("{1}{1}"), "");
}

TEST(ReadFrames, ReadsCuesAtTheFirstLinesRate) {
  const SubtitleReadResult result = ReadFrames(
      SplitLines("{1}{1}25\n{25}{100}Hi\n  {5}{6}indented\n{10}{20}A|B|C\n\n{10}{20}\n"));
  ASSERT_EQ(result.entries.size(), 3u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1000, 3000, {"Hi"}}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{400, 400, {"A", "B", "C"}}));
  EXPECT_EQ(result.entries[2], (SubtitleEntry{400, 400, {""}}));
  EXPECT_EQ(result.listTexts,
            (std::vector<std::string>{"{25}{100}Hi", "{10}{20}A|B|C", "{10}{20}"}));
}

TEST(ReadFrames, RoundsTheDurationFromTheExactDifference) {
  const SubtitleReadResult result = ReadFrames(SplitLines("{1}{1}23.976\n{1}{2}x\n"));
  ASSERT_EQ(result.entries.size(), 1u);
  EXPECT_EQ(result.entries[0].startMs, 42);
  EXPECT_EQ(result.entries[0].durationMs, 42);
}

TEST(ReadFrames, ReadsNtscRatesExactlyAndAnyPositiveDecimal) {
  // 24000/1001: frame 1439 ends at 60018.3 ms, frame 143856 at 5999994 ms.
  const SubtitleReadResult film = ReadFrames(SplitLines("{1}{1}23.976\n{1439}{143856}x\n"));
  ASSERT_EQ(film.entries.size(), 1u);
  EXPECT_EQ(film.entries[0].startMs, 60018);
  EXPECT_EQ(film.entries[0].durationMs, 5939976);
  const SubtitleReadResult video = ReadFrames(SplitLines("{1}{1}29.97\n{30000}{30001}x\n"));
  ASSERT_EQ(video.entries.size(), 1u);
  EXPECT_EQ(video.entries[0].startMs, 1001000);
  EXPECT_EQ(video.entries[0].durationMs, 33);
  const SubtitleReadResult fast = ReadFrames(SplitLines("{1}{1}59.94\n{60}{120}x\n"));
  EXPECT_EQ(fast.entries.at(0).startMs, 1001);
  const SubtitleReadResult odd = ReadFrames(SplitLines("{1}{1}12.5\n{25}{50}x\n"));
  EXPECT_EQ(odd.entries.at(0), (SubtitleEntry{2000, 2000, {"x"}}));
  EXPECT_TRUE(odd.notes.empty());
}

TEST(ReadFrames, TakesTheFrameNumbersFromTheFirstTwoBraceGroupsOnly) {
  const SubtitleReadResult result =
      ReadFrames(SplitLines("{1}{1}25\n{47}{112}{y:i}Text|{c:$0000FF}Blue\n{3}{4}a {brace}\n"));
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1880, 2600, {"{y:i}Text", "{c:$0000FF}Blue"}}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{120, 40, {"a {brace}"}}));
  EXPECT_TRUE(result.error.empty());
}

TEST(ReadFrames, TakesAChosenRateForAFileWithoutOneAndReadsItsFirstLine) {
  const ChosenFrameRate chosen{FrameRate{24000, 1001}, "23.976"};
  const SubtitleReadResult result =
      ReadFrames(SplitLines("{24}{48}first\n{48}{72}second\n"), chosen);
  EXPECT_FALSE(result.frameRateMissing);
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1001, 1001, {"first"}}));
  EXPECT_TRUE(result.notes.empty());
}

TEST(ReadFrames, LetsAChosenRateReplaceTheFilesOwnAndSaysSo) {
  const SubtitleReadResult result =
      ReadFrames(SplitLines("{1}{1}23.976\n{25}{50}x\n"), ChosenFrameRate{FrameRate{25, 1}, "25"});
  EXPECT_EQ(result.entries.at(0), (SubtitleEntry{1000, 1000, {"x"}}));
  EXPECT_EQ(result.notes,
            (std::vector<std::string>{"The frame rate 25 replaces the file's own rate 23.976."}));
  // The same rate written differently changes nothing and says nothing.
  EXPECT_TRUE(
      ReadFrames(SplitLines("{1}{1}25.000\n{25}{50}x\n"), ChosenFrameRate{FrameRate{25, 1}, "25"})
          .notes.empty());
}

TEST(ReadFrames, AcceptsAnyFirstSixCharactersAndSkipsAByteOrderMark) {
  EXPECT_FALSE(ReadFrames(SplitLines("{0}{0}25\n")).frameRateMissing);
  EXPECT_FALSE(ReadFrames(SplitLines("xxxxxx25.000\n")).frameRateMissing);
  EXPECT_FALSE(ReadFrames(SplitLines("\xEF\xBB\xBF{1}{1}25.000\n{1}{2}x\n")).frameRateMissing);
  const SubtitleReadResult missing = ReadFrames(SplitLines("{1}{1}0\n{1}{2}x\n"));
  EXPECT_TRUE(missing.frameRateMissing);
  EXPECT_EQ(missing.error,
            "The first line of the sub must contain the framerate. Ex: {1}{1}25.000");
  EXPECT_TRUE(missing.entries.empty());
  EXPECT_TRUE(ReadFrames({}).frameRateMissing);
}

TEST(ReadFrames, TakesAFirstLineForTheRateOnlyWhenItLooksLikeOne) {
  // A cue whose text is a number is no rate line: the file names no rate.
  for (const char* text :
       {"{250}{300}1944\n{400}{500}Paris, in the spring\n", "{25}{75}30\n{100}{150}x\n",
        "{1}{1}1944\n{25}{50}x\n", "{1}{1}0.5\n{25}{50}x\n"}) {
    const SubtitleReadResult missing = ReadFrames(SplitLines(text));
    EXPECT_TRUE(missing.frameRateMissing) << text;
    EXPECT_EQ(missing.error, kFrameRateMissingMessage) << text;
    EXPECT_TRUE(missing.entries.empty()) << text;
  }
  // With a rate given, the first line is the first cue.
  const SubtitleReadResult chosen =
      ReadFrames(SplitLines("{250}{300}1944\n{400}{500}Paris, in the spring\n"),
                 ChosenFrameRate{FrameRate{25, 1}, "25"});
  ASSERT_EQ(chosen.entries.size(), 2u);
  EXPECT_EQ(chosen.entries[0], (SubtitleEntry{10000, 2000, {"1944"}}));
  EXPECT_EQ(chosen.entries[1], (SubtitleEntry{16000, 4000, {"Paris, in the spring"}}));
  EXPECT_TRUE(chosen.notes.empty());
  // Rate lines as files write them.
  for (const char* text :
       {"{1}{1}25\n", "{0}{0}200\n", "{0}{1}23.976\n", "{5}{5}1\n", "{a}{b}25\n", "xxxxxx30\n"}) {
    EXPECT_FALSE(ReadFrames(SplitLines(text)).frameRateMissing) << text;
  }
  EXPECT_TRUE(ReadFrames(SplitLines("{1}{1}201\n")).frameRateMissing);
  EXPECT_TRUE(ReadFrames(SplitLines("xxxxxx1944\n")).frameRateMissing);
}

TEST(ReadFrames, StopsAtAFrameFieldThatIsNoNumber) {
  const SubtitleReadResult result =
      ReadFrames(SplitLines("{1}{1}25\n{1}{2}ok\n{3}{x4}a\n{5}{6}later\n"));
  EXPECT_EQ(result.entries.size(), 1u);
  EXPECT_EQ(result.listTexts.size(), 3u);  // the list shows every cue line
  EXPECT_EQ(result.error, "'x4' is not a valid integer value");
  EXPECT_EQ(ReadFrames(SplitLines("{1}{1}25\n{100}single\n")).error,
            "'' is not a valid integer value");
}

TEST(ReadFrames, FormsFrameTimesBeyondTheThirtyTwoBitProduct) {
  const SubtitleReadResult result =
      ReadFrames(SplitLines("{1}{1}25\n{2147483}{2147484}late\n{3000000}{3000025}later\n"));
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[0].startMs, 85899320);
  EXPECT_EQ(result.entries[1].startMs, 120000000);
  EXPECT_EQ(result.entries[1].durationMs, 1000);
}

TEST(ReadFrames, ReadsACueBeforeZeroAndListsItWithItsMessage) {
  const SubtitleReadResult result = ReadFrames(SplitLines("{1}{1}25\n{-25}{25}early\n{0}{1}x\n"));
  EXPECT_TRUE(result.error.empty());
  ASSERT_EQ(result.entries.size(), 2u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{-1000, 2000, {"early"}}));
  ASSERT_EQ(result.earlyCues.size(), 1u);
  EXPECT_EQ(result.earlyCues[0].entry, 0u);
  EXPECT_EQ(result.earlyCues[0].message,
            "The subtitle line \"{-25}{25}early\" starts before the beginning of the video; a "
            "subpicture cannot start before 0. Please correct the file and load it again");
}

}  // namespace
}  // namespace tesmora
