#include "output/VobSubIndex.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

// Greys 0, 85, 170 and 255 in entries 0 to 3, then twelve distinct colours.
RgbPalette TestPalette() {
  RgbPalette palette{};
  palette[1] = {85, 85, 85};
  palette[2] = {170, 170, 170};
  palette[3] = {255, 255, 255};
  for (std::size_t n = 4; n < 16; ++n) {
    palette[n] = {static_cast<std::uint8_t>(n), 0x0A, static_cast<std::uint8_t>(0xF0 + n)};
  }
  return palette;
}

const std::string kPaletteLine =
    "palette: 000000, 555555, aaaaaa, ffffff, 040af4, 050af5, 060af6, 070af7, 080af8, 090af9, "
    "0a0afa, 0b0afb, 0c0afc, 0d0afd, 0e0afe, 0f0aff\n";

std::string Settings(const std::string& size, const std::string& forced) {
  return "# VobSub index file, v7 (do not modify this line!)\n"
         "size: " +
         size +
         "\n"
         "org: 0, 0\n"
         "scale: 100%, 100%\n"
         "alpha: 100%\n"
         "smooth: OFF\n"
         "fadein/out: 0, 0\n"
         "align: OFF at LEFT TOP\n"
         "time offset: 0\n"
         "forced subs: " +
         forced + "\n" + kPaletteLine +
         "custom colors: OFF, tridx: 0000, colors: 000000, 000000, 000000, 000000\n"
         "\n"
         "langidx: 0\n";
}

TEST(VobSubIndexText, WritesAPalTrack) {
  const VobSubIndexEntry entries[] = {{90000, 0}, {5'535'990, 0x1800}, {4'294'967'295, 0xA5B000}};
  EXPECT_EQ(VobSubIndexText({576, TestPalette(), "en", false}, entries),
            Settings("720x576", "OFF") +
                "id: en, index: 0\n"
                "timestamp: 00:00:01:000, filepos: 000000000\n"
                "timestamp: 00:01:01:511, filepos: 000001800\n"
                "timestamp: 13:15:21:858, filepos: 000a5b000\n");
}

TEST(VobSubIndexText, WritesAnNtscTrackAndAForcedOne) {
  const VobSubIndexEntry entries[] = {{0, 0}};
  EXPECT_EQ(VobSubIndexText({480, TestPalette(), "de", false}, entries),
            Settings("720x480", "OFF") +
                "id: de, index: 0\n"
                "timestamp: 00:00:00:000, filepos: 000000000\n");
  EXPECT_EQ(VobSubIndexText({576, TestPalette(), "fr", true}, entries),
            Settings("720x576", "ON") +
                "id: fr, index: 0\n"
                "timestamp: 00:00:00:000, filepos: 000000000\n");
  EXPECT_EQ(VobSubIndexText({576, TestPalette(), "fr", true}, {}),
            Settings("720x576", "ON") + "id: fr, index: 0\n");
}

TEST(VobSubIndexText, RefusesSizesAndLanguagesItCannotWrite) {
  EXPECT_THROW(VobSubIndexText({720, TestPalette(), "en", false}, {}), std::invalid_argument);
  for (const char* language : {"", "e", "eng", "EN", "e1", "é"}) {
    EXPECT_THROW(VobSubIndexText({576, TestPalette(), language, false}, {}), std::invalid_argument)
        << language;
  }
}

TEST(VobSubTimestamp, RoundsTicksDownToWholeMilliseconds) {
  EXPECT_EQ(VobSubTimestamp(0), "00:00:00:000");
  EXPECT_EQ(VobSubTimestamp(89), "00:00:00:000");
  EXPECT_EQ(VobSubTimestamp(90), "00:00:00:001");
  EXPECT_EQ(VobSubTimestamp(3'723'004 * 90), "01:02:03:004");
  EXPECT_EQ(VobSubTimestamp(3'599'999 * 90 + 89), "00:59:59:999");
}

}  // namespace
}  // namespace tesmora
