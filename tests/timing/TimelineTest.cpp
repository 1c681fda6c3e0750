#include "timing/Timeline.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <limits>
#include <numeric>

#include "sup/SubtitlePacket.h"
#include "sup/SupPacket.h"
#include "tests/sup/MillisecondPackets.h"

namespace tesmora {
namespace {

constexpr long long kUnit = 1024;  // ticks of one stop delay unit

std::string ErrorText(const std::vector<CueTime>& cues) {
  try {
    PlanTimeline(cues);
  } catch (const SubtitleError& error) {
    return error.what();
  }
  return "no error";
}

// The properties every stream must have: strictly increasing starts, no
// subpicture shown past the next one's start, no subpicture starting before
// a cue it draws, unless less than a unit before it and where the one before
// is taken off, and every cue shown or reported.
void ExpectSoundStream(const std::vector<CueTime>& cues, const Timeline& timeline) {
  const auto& pictures = timeline.subpictures;
  std::vector<bool> seen(cues.size(), false);
  for (std::size_t k = 0; k < pictures.size(); ++k) {
    ASSERT_GT(pictures[k].stopDelayUnits, 0) << k;
    if (k + 1 < pictures.size()) {
      ASSERT_LT(pictures[k].startTicks, pictures[k + 1].startTicks) << k;
      ASSERT_LE(pictures[k].startTicks + pictures[k].stopDelayUnits * kUnit,
                pictures[k + 1].startTicks)
          << k;
    }
    const bool follows =
        k > 0 && pictures[k - 1].startTicks + pictures[k - 1].stopDelayUnits * kUnit ==
                     pictures[k].startTicks;
    for (const int cue : pictures[k].cues) {
      ASSERT_LT(cues[cue].startMs * 90, pictures[k].startTicks + (follows ? kUnit : 1)) << k;
      seen[cue] = true;
    }
  }
  for (const int number : timeline.report.dropped) {
    ASSERT_FALSE(seen[number - 1]) << number;
    seen[number - 1] = true;
  }
  for (std::size_t i = 0; i < cues.size(); ++i) {
    ASSERT_TRUE(seen[i]) << "cue " << i + 1 << " neither shown nor reported";
  }
}

TEST(PlanTimeline, KeepsTodaysTimesForSortedSeparateCues) {
  // Every duration up to the largest stop delay, each cue alone.
  for (long long duration = 12; duration <= 745643; ++duration) {
    const Timeline timeline = PlanTimeline({{1000, 1000 + duration}});
    ASSERT_EQ(timeline.subpictures,
              (std::vector<Subpicture>{{90000, StopDelayTicks(duration), {0}}}))
        << duration;
  }
  // The example file's times, with gaps between cues.
  const std::vector<CueTime> cues{{1000, 3500},   {4000, 7000},   {7800, 10200},
                                  {11000, 14000}, {15000, 17500}, {18000, 21000}};
  const Timeline timeline = PlanTimeline(cues);
  ASSERT_EQ(timeline.subpictures.size(), cues.size());
  for (std::size_t i = 0; i < cues.size(); ++i) {
    EXPECT_EQ(timeline.subpictures[i].startTicks, PresentationTimeStamp(cues[i].startMs));
    EXPECT_EQ(timeline.subpictures[i].stopDelayUnits,
              StopDelayTicks(cues[i].endMs - cues[i].startMs));
    EXPECT_EQ(timeline.subpictures[i].cues, std::vector<int>{static_cast<int>(i)});
  }
  EXPECT_EQ(timeline.report, TimingReport{});
}

TEST(PlanTimeline, WritesCuesInTimeOrderAndCountsThoseOutOfOrder) {
  const Timeline timeline =
      PlanTimeline({{5000, 6000}, {1000, 2000}, {3000, 4000}, {2500, 2600}, {3000, 3500}});
  std::vector<std::vector<int>> drawn;
  for (const Subpicture& picture : timeline.subpictures) {
    drawn.push_back(picture.cues);
  }
  // The two cues starting at 3000 keep their file order.
  EXPECT_EQ(drawn, (std::vector<std::vector<int>>{{1}, {3}, {2, 4}, {2}, {0}}));
  EXPECT_EQ(timeline.report.outOfOrder, 2);
  EXPECT_EQ(timeline.report.firstOutOfOrder, 2);
  EXPECT_EQ(timeline.report.overlapping, 2);
  EXPECT_EQ(timeline.report.firstOverlapping, 3);
}

TEST(PlanTimeline, ShowsTwoOverlappingCuesTogetherWhileBothAreVisible) {
  const Timeline timeline = PlanTimeline({{1000, 4000}, {3000, 6000}});
  // 2000 ms is 175.8 units; 176 would reach 224 ticks into the next one.
  // Each next one starts where the one before is taken off.
  EXPECT_EQ(timeline.subpictures,
            (std::vector<Subpicture>{{90000, 175, {0}}, {269200, 88, {0, 1}}, {359312, 176, {1}}}));
  EXPECT_EQ(timeline.report.overlapping, 2);
  EXPECT_EQ(timeline.report.firstOverlapping, 1);
  EXPECT_EQ(timeline.report.outOfOrder, 0);
}

TEST(PlanTimeline, ShowsThreeOverlappingCuesInStartOrder) {
  const Timeline timeline = PlanTimeline({{0, 3000}, {2000, 4000}, {1000, 5000}, {6000, 7000}});
  // The last, after a gap, starts at its own time.
  EXPECT_EQ(timeline.subpictures, (std::vector<Subpicture>{{0, 87, {0}},
                                                           {89088, 88, {0, 2}},
                                                           {179200, 88, {0, 2, 1}},
                                                           {269312, 88, {2, 1}},
                                                           {359424, 88, {2}},
                                                           {540000, 88, {3}}}));
  EXPECT_EQ(timeline.report.overlapping, 3);
  EXPECT_EQ(timeline.report.firstOverlapping, 1);
  EXPECT_EQ(timeline.report.outOfOrder, 1);
  EXPECT_EQ(timeline.report.firstOutOfOrder, 3);
}

// Back-to-back cues leave neither a gap nor an overlap: each subpicture
// starts exactly where the one before is taken off, less than a unit before
// its cue, however the floored delays add up; a gap in the cues stays.
TEST(PlanTimeline, StartsBackToBackSubpicturesWhereTheOneBeforeIsTakenOff) {
  std::vector<CueTime> chain;
  long long at = 0;
  for (int i = 0; i < 60; ++i) {
    const long long duration = 1000 + 37 * i;
    chain.push_back({at, at + duration});
    at += duration;
  }
  const long long gapStart = at + 500;
  chain.push_back({gapStart, gapStart + 2000});
  const Timeline timeline = PlanTimeline(chain);
  ASSERT_EQ(timeline.subpictures.size(), chain.size());
  long long shownUntil = 0;
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    const Subpicture& picture = timeline.subpictures[i];
    EXPECT_EQ(picture.cues, std::vector<int>{static_cast<int>(i)});
    EXPECT_EQ(picture.startTicks, shownUntil) << i;
    EXPECT_LE(picture.startTicks, chain[i].startMs * 90) << i;
    EXPECT_GT(picture.startTicks + kUnit, chain[i].startMs * 90) << i;
    shownUntil = picture.startTicks + picture.stopDelayUnits * kUnit;
  }
  // The last of the chain is taken off within half a unit of its end.
  EXPECT_LE(std::abs(shownUntil - chain[59].endMs * 90), kUnit / 2);
  EXPECT_EQ(timeline.subpictures.back(),
            (Subpicture{static_cast<std::uint32_t>(gapStart * 90), StopDelayTicks(2000), {60}}));
  ExpectSoundStream(chain, timeline);

  // A sign of a minute over cues that come and go: never blank. At 50 fps
  // the floored delays left 21 frames without the sign.
  std::vector<CueTime> sign{{0, 60000}};
  for (long long start = 1000; start < 59000; start += 3000) {
    sign.push_back({start, start + 1700});
  }
  const Timeline withSign = PlanTimeline(sign);
  const std::vector<Subpicture>& pictures = withSign.subpictures;
  ASSERT_EQ(pictures.size(), 2 * (sign.size() - 1) + 1);
  for (std::size_t k = 0; k + 1 < pictures.size(); ++k) {
    EXPECT_EQ(pictures[k].startTicks + pictures[k].stopDelayUnits * kUnit,
              pictures[k + 1].startTicks)
        << k;
  }
  ExpectSoundStream(sign, withSign);
}

TEST(PlanTimeline, RepeatsACueLongerThanTheLargestStopDelay) {
  // 15 minutes: 81000000 ticks, 79101.56 units, to the nearest 79102. The
  // repeat starts where the first is taken off, on a whole millisecond
  // (755472 ms): the largest delay, 65535 units, would end at 745642.67 ms
  // after the start, and the index could not give that time.
  const Timeline alone = PlanTimeline({{10000, 910000}});
  EXPECT_EQ(alone.subpictures,
            (std::vector<Subpicture>{{900000, 65520, {0}}, {67992480, 13582, {0}}}));
  EXPECT_EQ(67992480 % 90, 0);
  // Followed at once by another cue, it ends within its 81000000 ticks, and
  // the next starts there.
  const Timeline chained = PlanTimeline({{10000, 910000}, {910000, 912000}});
  EXPECT_EQ(chained.subpictures,
            (std::vector<Subpicture>{
                {900000, 65520, {0}}, {67992480, 13581, {0}}, {81899424, 176, {1}}}));
  EXPECT_EQ(chained.report, TimingReport{});
  // Exactly the largest delay needs no repeat; one unit more does.
  EXPECT_EQ(PlanTimeline({{0, 745642}}).subpictures.size(), 1u);
  EXPECT_EQ(PlanTimeline({{0, 745649}}).subpictures,
            (std::vector<Subpicture>{{0, 65520, {0}}, {65520 * kUnit, 16, {0}}}));
  // A repeat after a start off the millisecond still starts on one: the
  // second cue starts 576 ticks early, where the first is taken off.
  const Timeline late = PlanTimeline({{0, 1000}, {1000, 801000}});
  ASSERT_EQ(late.subpictures.size(), 3u);
  EXPECT_EQ(late.subpictures[1].startTicks, 87 * kUnit);
  EXPECT_EQ((late.subpictures[1].startTicks + late.subpictures[1].stopDelayUnits * kUnit) % 90, 0);
  EXPECT_EQ(late.subpictures[2].startTicks,
            late.subpictures[1].startTicks + late.subpictures[1].stopDelayUnits * kUnit);
}

TEST(PlanTimeline, GivesATooShortCueOneUnitWhereTheNextLeavesRoom) {
  const Timeline roomy = PlanTimeline({{1000, 1005}, {2000, 3000}});
  EXPECT_EQ(roomy.subpictures, (std::vector<Subpicture>{{90000, 1, {0}}, {180000, 88, {1}}}));
  EXPECT_EQ(roomy.report.tooShort, 1);
  EXPECT_EQ(roomy.report.firstTooShort, 1);
  EXPECT_TRUE(roomy.report.dropped.empty());

  // The next cue starts 12 ms later, just after one unit (11.4 ms).
  const Timeline tight = PlanTimeline({{1000, 1005}, {1012, 2000}});
  EXPECT_EQ(tight.subpictures.front(), (Subpicture{90000, 1, {0}}));

  // A too short cue within a longer one is drawn with it for one unit.
  const Timeline inside = PlanTimeline({{0, 10000}, {5000, 5005}});
  EXPECT_EQ(inside.subpictures,
            (std::vector<Subpicture>{{0, 439, {0}}, {449536, 1, {0, 1}}, {450560, 439, {0}}}));
  EXPECT_EQ(inside.report.overlapping, 2);
}

TEST(PlanTimeline, LeavesOutATooShortCueWhenTheNextStartsTooSoon) {
  const Timeline timeline = PlanTimeline({{0, 800}, {1000, 1005}, {1011, 2000}, {3000, 3011}});
  EXPECT_EQ(timeline.subpictures,
            (std::vector<Subpicture>{{0, 70, {0}}, {90990, 87, {2}}, {270000, 1, {3}}}));
  EXPECT_EQ(timeline.report.tooShort, 2);
  EXPECT_EQ(timeline.report.firstTooShort, 2);
  EXPECT_EQ(timeline.report.dropped, std::vector<int>{2});
}

TEST(PlanTimeline, TreatsCuesEndingAtOrBeforeTheirStartAsTooShort) {
  const Timeline timeline = PlanTimeline({{3000, 4000}, {1000, 1000}, {2000, 1500}, {2005, 2010}});
  EXPECT_EQ(timeline.subpictures,
            (std::vector<Subpicture>{{90000, 1, {1}}, {180450, 1, {3}}, {270000, 88, {0}}}));
  EXPECT_EQ(timeline.report.tooShort, 3);
  EXPECT_EQ(timeline.report.firstTooShort, 2);
  EXPECT_EQ(timeline.report.dropped, std::vector<int>{3});
  EXPECT_EQ(timeline.report.outOfOrder, 1);

  // Ends at the far reaches of the number range neither overflow nor wrap.
  const long long far = std::numeric_limits<long long>::max();
  const Timeline extreme =
      PlanTimeline({{1000, std::numeric_limits<long long>::min()}, {5000, 6000}});
  EXPECT_EQ(extreme.subpictures, (std::vector<Subpicture>{{90000, 1, {0}}, {450000, 88, {1}}}));
  EXPECT_THROW(PlanTimeline({{0, far}}), SubtitleError);
}

TEST(PlanTimeline, ReportsACueOnlyShownBetweenChangesTooCloseToSee) {
  // Cue 1 lasts 13 ms, but others start every 3 to 5 ms within it.
  const std::vector<CueTime> cues{{1000, 1013}, {1003, 2000}, {1008, 2000}};
  const Timeline timeline = PlanTimeline(cues);
  EXPECT_EQ(timeline.subpictures, (std::vector<Subpicture>{{91170, 87, {1, 2}}}));
  EXPECT_EQ(timeline.report.dropped, std::vector<int>{1});
  EXPECT_EQ(timeline.report.tooShort, 0);
  ExpectSoundStream(cues, timeline);
}

TEST(PlanTimeline, RefusesAStartPastTheTimeStampRangeAtOnce) {
  EXPECT_EQ(ErrorText({{0, 1000}, {47721859, 47722000}, {-5, 10}}),
            "Subtitle 2, starting at 13:15:21,859: its start time cannot be written as a time "
            "stamp (0 to 47721858 ms)");
  EXPECT_EQ(ErrorText({{0, 1000}, {-5, 10}}),
            "Subtitle 2, starting at -00:00:00,005: its start time cannot be written as a time "
            "stamp (0 to 47721858 ms)");
  // The message the packet writer gives for the same cue.
  try {
    BuildPacket(PixelData{}, {0, 1}, 47721859, 1000, {});
    FAIL();
  } catch (const PacketError& error) {
    EXPECT_EQ(SubtitleError(2, 47721859, error.what()).what(), ErrorText({{0, 1}, {47721859, 1}}));
  }
  EXPECT_EQ(PlanTimeline({{47721858, 47722858}}).subpictures,
            (std::vector<Subpicture>{{4294967220, 88, {0}}}));
}

TEST(PlanTimeline, RefusesACueStillShownWhenARepeatWouldStartPastTheRange) {
  EXPECT_EQ(ErrorText({{47000000, 48000000}}),
            "Subtitle 1, starting at 13:03:20,000: it is still shown at 13:15:45,472, where a "
            "subpicture would have to start, later than a time stamp can hold (0 to 47721858 ms)");
}

TEST(PlanTimeline, KeepsEveryStreamSound) {
  // A pseudo-random file of overlapping, touching, short and long cues.
  std::uint32_t state = 12345;
  const auto next = [&state](std::uint32_t range) {
    state = state * 1664525u + 1013904223u;
    return static_cast<long long>((state >> 8) % range);
  };
  std::vector<CueTime> cues;
  for (int i = 0; i < 2000; ++i) {
    const long long start = next(3'000'000);
    const long long kind = next(10);
    const long long length = kind == 0   ? next(20)
                             : kind == 1 ? 700'000 + next(400'000)
                                         : next(8000);
    cues.push_back({start, start + length});
  }
  const Timeline timeline = PlanTimeline(cues);
  ExpectSoundStream(cues, timeline);
  EXPECT_GT(timeline.report.outOfOrder, 900);
  EXPECT_GT(timeline.report.overlapping, 1000);
  EXPECT_GT(timeline.report.tooShort, 100);
}

TEST(PlanTimeline, ShowsAHundredCuesAtOnceEachWhileItIsVisible) {
  // A staircase: each cue starts 100 ms after the one before, all end together.
  std::vector<CueTime> cues;
  for (int i = 0; i < 100; ++i) {
    cues.push_back({1000 + 100LL * i, 60000});
  }
  const Timeline timeline = PlanTimeline(cues);
  ExpectSoundStream(cues, timeline);
  ASSERT_EQ(timeline.subpictures.size(), 100u);
  for (std::size_t k = 0; k < 100; ++k) {
    std::vector<int> visible(k + 1);
    std::iota(visible.begin(), visible.end(), 0);
    EXPECT_EQ(timeline.subpictures[k].cues, visible) << k;
    // Each starts where the one before is taken off, less than a unit early.
    const long long start = timeline.subpictures[k].startTicks;
    EXPECT_LE(start, (1000 + 100 * static_cast<long long>(k)) * 90) << k;
    EXPECT_GT(start + kUnit, (1000 + 100 * static_cast<long long>(k)) * 90) << k;
  }
}

TEST(PlanTimeline, RefusesTheFirstCueShownWithAHundredOthersNamingThem) {
  std::vector<CueTime> staircase;
  for (int i = 0; i < 8000; ++i) {
    staircase.push_back({1000 + 100LL * i, 1'000'000});
  }
  EXPECT_EQ(ErrorText(staircase),
            "Subtitle 101, starting at 00:00:11,000: it would be shown at the same time as 100 "
            "other subtitles (1-100), more than a frame can hold (at most 100 at once)");

  // Counted in time order, named in list order, whatever else lies between.
  std::vector<CueTime> identical(50, {2000, 6000});
  identical.push_back({7000, 8000});
  identical.insert(identical.end(), 128'000, {2000, 6000});
  EXPECT_EQ(ErrorText(identical),
            "Subtitle 102, starting at 00:00:02,000: it would be shown at the same time as 100 "
            "other subtitles (1-50, 52-101), more than a frame can hold (at most 100 at once)");

  // Cues that have ended by the time the next starts no longer count.
  std::vector<CueTime> waves;
  for (int i = 0; i < 300; ++i) {
    waves.push_back({1000LL * (i / 100), 1000LL * (i / 100) + 1000});
  }
  EXPECT_NO_THROW(PlanTimeline(waves));
  waves.push_back({2500, 3000});
  EXPECT_EQ(ErrorText(waves),
            "Subtitle 301, starting at 00:00:02,500: it would be shown at the same time as 100 "
            "other subtitles (201-300), more than a frame can hold (at most 100 at once)");
}

}  // namespace
}  // namespace tesmora
