#include "timing/TimingReportText.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

TEST(TimingReportLines, SaysNothingWhenNothingChanged) {
  EXPECT_TRUE(TimingReportLines(TimingReport{}).empty());
}

TEST(TimingReportLines, NamesTheCountAndTheFirstCueOfEachKind) {
  TimingReport report;
  report.outOfOrder = 2;
  report.firstOutOfOrder = 7;
  report.overlapping = 3;
  report.firstOverlapping = 4;
  report.tooShort = 2;
  report.firstTooShort = 9;
  report.dropped = {9, 12};
  EXPECT_EQ(TimingReportLines(report),
            (std::vector<std::string>{
                "2 subtitles were out of order; they are written in time order (first: subtitle "
                "7).",
                "3 subtitles overlap others; they are drawn together while they overlap (first: "
                "subtitle 4).",
                "2 subtitles last less than 12 ms or end before they start; they are shown for the "
                "shortest time a DVD allows where the next subtitle starts late enough (first: "
                "subtitle 9).",
                "2 subtitles are left out because the next subtitle starts too soon for them to "
                "be seen: subtitles 9 and 12."}));
}

TEST(TimingReportLines, SpeaksOfASingleCueInTheSingular) {
  TimingReport report;
  report.outOfOrder = 1;
  report.firstOutOfOrder = 3;
  report.tooShort = 1;
  report.firstTooShort = 5;
  report.dropped = {5};
  EXPECT_EQ(TimingReportLines(report),
            (std::vector<std::string>{
                "1 subtitle was out of order; it is written in time order (subtitle 3).",
                "1 subtitle lasts less than 12 ms or ends before it starts; it is shown for the "
                "shortest time a DVD allows where the next subtitle starts late enough (subtitle "
                "5).",
                "1 subtitle is left out because the next subtitle starts too soon for it to be "
                "seen: subtitle 5."}));
}

TEST(TimingReportLines, ListsTenDroppedCuesAndCountsTheRest) {
  TimingReport report;
  report.dropped = {1, 2, 3};
  EXPECT_EQ(TimingReportLines(report).back(),
            "3 subtitles are left out because the next subtitle starts too soon for them to be "
            "seen: subtitles 1, 2 and 3.");
  for (int number = 4; number <= 15; ++number) {
    report.dropped.push_back(number * 10);
  }
  EXPECT_EQ(TimingReportLines(report).back(),
            "15 subtitles are left out because the next subtitle starts too soon for them to be "
            "seen: subtitles 1, 2, 3, 40, 50, 60, 70, 80, 90, 100 and 5 more.");
  report.dropped.resize(10);
  EXPECT_EQ(TimingReportLines(report).back(),
            "10 subtitles are left out because the next subtitle starts too soon for them to be "
            "seen: subtitles 1, 2, 3, 40, 50, 60, 70, 80, 90 and 100.");
}

}  // namespace
}  // namespace tesmora
