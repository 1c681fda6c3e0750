#include "timing/TimeChange.h"

#include <gtest/gtest.h>

#include <limits>

#include "subtitles/EarlyCues.h"
#include "subtitles/SrtReader.h"
#include "subtitles/TextLines.h"
#include "sup/SubtitlePacket.h"
#include "tests/core/SubtitleErrorText.h"

namespace tesmora {
namespace {

std::vector<SubtitleEntry> Cues(std::initializer_list<std::pair<long long, long long>> times) {
  std::vector<SubtitleEntry> cues;
  for (const auto& [start, duration] : times) {
    cues.push_back({start, duration, {"line " + std::to_string(cues.size() + 1)}});
  }
  return cues;
}

TEST(ParseShift, ReadsSignedWholeMilliseconds) {
  EXPECT_EQ(ParseShift("1500"), 1500);
  EXPECT_EQ(ParseShift("+1500"), 1500);
  EXPECT_EQ(ParseShift("-250"), -250);
  EXPECT_EQ(ParseShift("-0"), 0);
  EXPECT_EQ(ParseShift("1000000000000"), kLargestShiftMs);
  for (const char* text : {"", "+", "-", "1.5", "15ms", " 1", "1 ", "--1", "1000000000001",
                           "99999999999999999999999"}) {
    EXPECT_EQ(ParseShift(text), std::nullopt) << text;
  }
}

TEST(ShiftCues, MovesEveryStartAndKeepsDurationsAndText) {
  const auto shifted = ShiftCues(Cues({{1000, 2500}, {4000, 3000}}), -1000);
  EXPECT_EQ(shifted, (std::vector<SubtitleEntry>{{0, 2500, {"line 1"}}, {3000, 3000, {"line 2"}}}));
  EXPECT_EQ(ShiftCues(Cues({{1000, 2500}}), 250)[0].startMs, 1250);
}

TEST(ShiftCues, RefusesTheFirstCueMovedBeforeZeroByNumberAndTime) {
  EXPECT_EQ(testing::SubtitleErrorText([] {
              ShiftCues(Cues({{5000, 100}, {1200, 100}, {900, 100}}), -1500);
            }),
            "Subtitle 2, starting at 00:00:01,200: moved by -1500 ms, it would start before the "
            "beginning of the video");
  EXPECT_EQ(
      testing::SubtitleErrorText([] {
        ShiftCues(Cues({{std::numeric_limits<long long>::max() - 5, 0}}), 10);
      }),
      "Subtitle 1, starting at 2562047788015:12:55,802: moved by 10 ms, its time would be too "
      "large");
}

TEST(ChangeCueTimes, MovesCuesReadBeforeZeroAndLeavesTheirRefusalToTheReadersMessage) {
  // Starts -1000, -500, 3000 and -3601000 ms; only cues 1 and 4 are recorded.
  const SubtitleReadResult read =
      ReadSrt(SplitLines("1\n-0:00:01,000 --> 00:00:02,000\na\n\n"
                         "2\n-0:00:00,500 --> 00:00:02,000\nb\n\n"
                         "3\n00:00:03,000 --> 00:00:04,000\nc\n\n"
                         "4\n-1:00:01,000 --> 00:00:02,000\nd\n"));
  ASSERT_EQ(read.earlyCues.size(), 2u);
  const auto stillEarly = [&read](long long shiftMs) {
    return StillEarlyCueMessage(ChangeCueTimes(read.entries, std::nullopt, shiftMs),
                                read.earlyCues);
  };
  EXPECT_EQ(stillEarly(3601000), "");
  EXPECT_EQ(ChangeCueTimes(read.entries, std::nullopt, 3601000)[3].startMs, 0);
  EXPECT_EQ(stillEarly(0).substr(0, 22), "The subtitle at line 2");
  EXPECT_EQ(stillEarly(999).substr(0, 22), "The subtitle at line 2");
  EXPECT_EQ(stillEarly(1000).substr(0, 23), "The subtitle at line 14");
  // A shift that moves a cue read at 0 or later before 0 is refused by the
  // shift, naming the cue; the early cues it moves further are not.
  EXPECT_EQ(
      testing::SubtitleErrorText([&read] { ChangeCueTimes(read.entries, std::nullopt, -3001); }),
      "Subtitle 3, starting at 00:00:03,000: moved by -3001 ms, it would start before the "
      "beginning of the video");
  // A rate conversion scales early starts like the others.
  const RateConversion slower{FrameRate{25, 1}, FrameRate{50, 1}};
  EXPECT_EQ(StillEarlyCueMessage(ChangeCueTimes(read.entries, slower, 1800501), read.earlyCues),
            "");
  EXPECT_EQ(StillEarlyCueMessage(ChangeCueTimes(read.entries, slower, 1800499), read.earlyCues)
                .substr(0, 23),
            "The subtitle at line 14");
}

TEST(ParseRateConversion, ReadsTwoRatesAroundAColon) {
  EXPECT_EQ(ParseRateConversion("23.976:25"),
            (RateConversion{FrameRate{24000, 1001}, FrameRate{25, 1}}));
  EXPECT_EQ(ParseRateConversion("25:29.97"),
            (RateConversion{FrameRate{25, 1}, FrameRate{30000, 1001}}));
  for (const char* text : {"", "25", "25:", ":25", "25:0", "0:25", "a:b", "25:24:23", "25;24"}) {
    EXPECT_EQ(ParseRateConversion(text), std::nullopt) << text;
  }
}

TEST(ConvertCueRate, ScalesStartAndEndExactlyByFromOverTo) {
  const RateConversion filmToPal = *ParseRateConversion("23.976:25");
  // 25025 ms at 23.976 becomes 25025 * 24000 / 25025 = 24000 ms at 25.
  const auto converted = ConvertCueRate(Cues({{25025, 2002}, {0, 1000}}), filmToPal);
  EXPECT_EQ(converted, (std::vector<SubtitleEntry>{{24000, 1920, {"line 1"}},
                                                   {0, 959, {"line 2"}}}));  // 959.04
  // A two-hour film: 7207200 ms at 23.976 lasts 6912000 ms at 25.
  EXPECT_EQ(ConvertCueRate(Cues({{7207200, 0}}), filmToPal)[0].startMs, 6912000);
  EXPECT_EQ(ConvertCueRate(Cues({{6912000, 0}}), *ParseRateConversion("25:23.976"))[0].startMs,
            7207200);
}

TEST(ConvertCueRate, RoundsEachEndHalvesToEven) {
  const RateConversion halve = *ParseRateConversion("1:2");
  // 5 -> 2.5 -> 2 and 7 -> 3.5 -> 4: the duration is that of the rounded ends.
  EXPECT_EQ(ConvertCueRate(Cues({{5, 2}}), halve)[0], (SubtitleEntry{2, 2, {"line 1"}}));
  EXPECT_EQ(ConvertCueRate(Cues({{7, -2}}), halve)[0], (SubtitleEntry{4, -2, {"line 1"}}));
}

TEST(ConvertCueRate, RefusesTimesTooLargeForTheScale) {
  EXPECT_EQ(
      testing::SubtitleErrorText([] {
        ConvertCueRate(Cues({{1000, 10}, {4'000'000'000'000'000'000, 10}}),
                       *ParseRateConversion("9999:1"));
      }),
      "Subtitle 2, starting at 1111111111111:06:40,000: its times are too large to be converted "
      "to the other frame rate");
}

}  // namespace
}  // namespace tesmora
