#include "subtitles/FrameReader.h"

#include <gtest/gtest.h>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

TEST(FrameRateFromText, AcceptsExactlyTheEightTexts) {
  EXPECT_EQ(FrameRateFromText("23.976"), 23.976L);
  EXPECT_EQ(FrameRateFromText("24"), 24.0L);
  EXPECT_EQ(FrameRateFromText("25.000"), 25.0L);
  EXPECT_EQ(FrameRateFromText("29.970"), 29.97L);
  EXPECT_EQ(FrameRateFromText("30"), 30.0L);
  for (const char* other : {"29.97", "25.0", " 25", "25 ", "", "60"}) {
    EXPECT_EQ(FrameRateFromText(other), std::nullopt) << other;
  }
}

TEST(ReadFrames, ReadsCuesAtTheFirstLinesRate) {
  const SubtitleReadResult result = ReadFrames(
      SplitLines("{1}{1}25\n{25}{100}Hi\n  {5}{6}indented\n{10}{20}A|B|C\n\n{10}{20}\n"));
  ASSERT_EQ(result.entries.size(), 3u);
  EXPECT_EQ(result.entries[0], (SubtitleEntry{1000, 3000, {"Hi"}}));
  EXPECT_EQ(result.entries[1], (SubtitleEntry{400, 400, {"A|B", "C"}}));
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

TEST(ReadFrames, AcceptsAnyFirstSixCharactersAndSkipsAByteOrderMark) {
  EXPECT_FALSE(ReadFrames(SplitLines("{0}{0}25\n")).frameRateMissing);
  EXPECT_FALSE(ReadFrames(SplitLines("xxxxxx25.000\n")).frameRateMissing);
  EXPECT_FALSE(ReadFrames(SplitLines("\xEF\xBB\xBF{1}{1}25.000\n{1}{2}x\n")).frameRateMissing);
  const SubtitleReadResult missing = ReadFrames(SplitLines("{1}{1}29.97\n{1}{2}x\n"));
  EXPECT_TRUE(missing.frameRateMissing);
  EXPECT_EQ(missing.error,
            "The first line of the sub must contain the framerate. Ex: {1}{1}25.000");
  EXPECT_TRUE(missing.entries.empty());
  EXPECT_TRUE(ReadFrames({}).frameRateMissing);
}

TEST(ReadFrames, StopsAtAFrameFieldThatIsNoNumber) {
  const SubtitleReadResult result =
      ReadFrames(SplitLines("{1}{1}25\n{1}{2}ok\n{3}{4}a {brace}\n{5}{6}later\n"));
  EXPECT_EQ(result.entries.size(), 1u);
  EXPECT_EQ(result.listTexts.size(), 3u);  // the list shows every cue line
  EXPECT_EQ(result.error, "'3}{4}a' is not a valid integer value");
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

TEST(ReadFrames, RefusesACueThatStartsBeforeZero) {
  const SubtitleReadResult result = ReadFrames(SplitLines("{1}{1}25\n{-25}{25}early\n"));
  EXPECT_TRUE(result.entries.empty());
  EXPECT_EQ(result.error,
            "The subtitle line \"{-25}{25}early\" starts before the beginning of the video; a "
            "subpicture cannot start before 0. Please correct the file and load it again");
}

}  // namespace
}  // namespace tesmora
