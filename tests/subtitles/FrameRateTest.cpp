#include "subtitles/FrameRate.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

TEST(ParseFrameRate, ReadsNtscRatesAsTheirExactFractions) {
  const FrameRate film{24000, 1001};
  const FrameRate video{30000, 1001};
  EXPECT_EQ(ParseFrameRate("23.976"), film);
  EXPECT_EQ(ParseFrameRate("23.98"), film);
  EXPECT_EQ(ParseFrameRate("23.976024"), film);
  EXPECT_EQ(ParseFrameRate("29.97"), video);
  EXPECT_EQ(ParseFrameRate("29.970"), video);
  EXPECT_EQ(ParseFrameRate("47.952"), (FrameRate{48000, 1001}));
  EXPECT_EQ(ParseFrameRate("59.94"), (FrameRate{60000, 1001}));
  EXPECT_EQ(ParseFrameRate("119.88"), (FrameRate{120000, 1001}));
}

TEST(ParseFrameRate, ReadsOtherDecimalsExactly) {
  EXPECT_EQ(ParseFrameRate("24"), (FrameRate{24, 1}));
  EXPECT_EQ(ParseFrameRate("24.000"), (FrameRate{24, 1}));
  EXPECT_EQ(ParseFrameRate("25.000"), (FrameRate{25, 1}));
  EXPECT_EQ(ParseFrameRate("30.0"), (FrameRate{30, 1}));
  EXPECT_EQ(ParseFrameRate("12.5"), (FrameRate{25, 2}));
  EXPECT_EQ(ParseFrameRate("0.001"), (FrameRate{1, 1000}));
  EXPECT_EQ(ParseFrameRate("9999.999999"), (FrameRate{9999999999, 1000000}));
  // Near an NTSC rate but not written from it.
  EXPECT_EQ(ParseFrameRate("23.97"), (FrameRate{2397, 100}));
  EXPECT_EQ(ParseFrameRate("23.977"), (FrameRate{23977, 1000}));
  EXPECT_EQ(ParseFrameRate("24.00"), (FrameRate{24, 1}));
  for (const std::string_view offered : kCommonFrameRateTexts) {
    EXPECT_NE(ParseFrameRate(offered), std::nullopt) << offered;
  }
}

TEST(ParseFrameRate, RefusesTextThatIsNotAPositiveDecimal) {
  for (const char* text : {"", "0", "0.000", "-25", "+25", "25.", ".5", "25 ", " 25", "2 5", "1e3",
                           "25fps", "25,000", "10000", "1.0000001", "29.97.1"}) {
    EXPECT_EQ(ParseFrameRate(text), std::nullopt) << text;
  }
}

TEST(FramesToMs, RoundsExactlyWithHalvesToEven) {
  const FrameRate twoThousand{2000, 1};  // half a ms per frame
  EXPECT_EQ(FramesToMs(1, twoThousand), 0);
  EXPECT_EQ(FramesToMs(3, twoThousand), 2);
  EXPECT_EQ(FramesToMs(5, twoThousand), 2);
  EXPECT_EQ(FramesToMs(-1, twoThousand), 0);
  EXPECT_EQ(FramesToMs(-3, twoThousand), -2);
  EXPECT_EQ(FramesToMs(-5, twoThousand), -2);
  EXPECT_EQ(FramesToMs(1, FrameRate{24000, 1001}), 42);  // 41.708
  EXPECT_EQ(FramesToMs(24000, FrameRate{24000, 1001}), 1001000);
  EXPECT_EQ(FramesToMs(std::numeric_limits<long long>::max(), FrameRate{1000, 1}),
            std::numeric_limits<long long>::max());
  EXPECT_EQ(FramesToMs(std::numeric_limits<long long>::max(), FrameRate{1, 1000}), std::nullopt);
}

// Files at the whole rates must keep the times, and so the bytes, they had
// when rates were long doubles: starts and durations (the end minus the
// start, both as long double ms) for frame numbers up to 10 million.
TEST(FramesToMs, GivesTheLongDoubleTimesOfWholeRates) {
  for (const char* text : {"24", "25", "30"}) {
    const FrameRate rate = *ParseFrameRate(text);
    ASSERT_EQ(ParseFrameRate(std::string(text) + ".000"), rate);
    const long double fps = static_cast<long double>(rate.numerator);
    for (long long frame = 0; frame <= 10'000'000; ++frame) {
      const long double start = static_cast<long double>(frame * 1000) / fps;
      ASSERT_EQ(FramesToMs(frame, rate), RoundToEven(start)) << text << " frame " << frame;
      const long long length = frame % 1000;
      const long double end = static_cast<long double>((frame + length) * 1000) / fps;
      ASSERT_EQ(FramesToMs(length, rate), RoundToEven(end - start))
          << text << " frames " << frame << " to " << frame + length;
    }
  }
}

TEST(FramesToMs, KeepsATwoHourNtscFilmOnItsFrames) {
  const long long lastFrame = 172627;                                    // two hours at 24000/1001
  EXPECT_EQ(FramesToMs(lastFrame, *ParseFrameRate("23.976")), 7199984);  // 7199984.458
  // 23.976 frames per second as a decimal put it 7.2 ms (648 ticks) late.
  const long long decimalMs = RoundToEven(static_cast<long double>(lastFrame * 1000) / 23.976L);
  EXPECT_EQ(decimalMs, 7199992);
  EXPECT_EQ(FramesToMs(172800, *ParseFrameRate("29.97")), 5765760);
}

}  // namespace
}  // namespace tesmora
