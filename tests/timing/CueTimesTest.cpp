#include "timing/CueTimes.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

TEST(CueTimesOf, GivesEachCuesStartAndEnd) {
  const std::vector<CueTime> times = CueTimesOf({{1000, 500, {"a"}}, {3000, -1000, {"backwards"}}});
  ASSERT_EQ(times.size(), 2u);
  EXPECT_EQ(times[0].startMs, 1000);
  EXPECT_EQ(times[0].endMs, 1500);
  EXPECT_EQ(times[1].endMs, 2000);
}

TEST(TimeOrder, SortsByStartKeepingTheListOrderOfEqualStarts) {
  EXPECT_EQ(TimeOrder({{5000, 6000}, {1000, 9000}, {5000, 5500}, {0, 100}, {1000, 2000}}),
            (std::vector<std::size_t>{3, 1, 4, 0, 2}));
  EXPECT_TRUE(TimeOrder({}).empty());
}

}  // namespace
}  // namespace tesmora
