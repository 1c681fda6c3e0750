#include "sup/SubtitlePacket.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/core/SubtitleErrorText.h"
#include "tests/sup/HexText.h"
#include "tests/sup/MillisecondPackets.h"

namespace tesmora {
namespace {

using testing::Hex;

constexpr RoleKeyColours kKeys{{255, 255, 255}, {0, 0, 0}, {128, 128, 128}};
constexpr RolePaletteIndices kRoles{1, 0, 3, 0};

TEST(FormatSubtitleTime, WritesHoursMinutesSecondsAndMilliseconds) {
  EXPECT_EQ(FormatSubtitleTime(0), "00:00:00,000");
  EXPECT_EQ(FormatSubtitleTime(3723004), "01:02:03,004");
  EXPECT_EQ(FormatSubtitleTime(-1500), "-00:00:01,500");
}

TEST(EncodeSubtitlePacket, DeclaresTheBandCutToTheFrame) {
  const FrameBitmap frame(480);
  // A band that starts 4 rows above the frame: rows 0 to 5 are encoded and declared.
  const SupPacket packet = EncodeSubtitlePacket(frame, {-4, 10}, kKeys, kRoles, 1, 0, 1000);
  const std::size_t pixelBytes = 2 + 6 * 8;
  EXPECT_EQ(packet.unit.size(), pixelBytes + 34);
  EXPECT_EQ(Hex({packet.unit.data() + 4 + pixelBytes + 12, 6}), "00 02 CF 00 00 05");
  EXPECT_EQ(Hex({packet.unit.data() + 4 + pixelBytes + 19, 4}), "00 06 00 1E");

  const SupPacket low = EncodeSubtitlePacket(frame, {476, 10}, kKeys, kRoles, 1, 0, 1000);
  EXPECT_EQ(Hex({low.unit.data() + 4 + 2 + 4 * 8 + 12, 6}), "00 02 CF 1D C1 DF");
}

TEST(EncodeSubtitlePacket, PassesTheForcedDisplayToTheUnit) {
  const FrameBitmap frame(576);
  const SupPacket normal = EncodeSubtitlePacket(frame, {500, 2}, kKeys, kRoles, 1, 0, 1000);
  const SupPacket forced =
      EncodeSubtitlePacket(frame, {500, 2}, kKeys, kRoles, 1, 0, 1000, StartDisplay::Forced);
  // The first control sequence starts where the unit's bytes 2 and 3 point;
  // its commands follow the delay and the link.
  const std::size_t commands = (normal.unit[2] << 8 | normal.unit[3]) + 4;
  EXPECT_EQ(Hex({normal.unit.data() + commands, 2}), "01 03");
  EXPECT_EQ(Hex({forced.unit.data() + commands, 2}), "00 03");
  EXPECT_EQ(forced.unit.size(), normal.unit.size());
}

TEST(EncodeSubtitlePacket, RefusesABandWhollyOutsideTheFrameNamingTheSubtitle) {
  const FrameBitmap frame(480);
  EXPECT_EQ(testing::SubtitleErrorText([&] {
              EncodeSubtitlePacket(frame, {-80, 60}, kKeys, kRoles, 7, 62345, 1000);
            }),
            "Subtitle 7, starting at 00:01:02,345: it lies entirely outside the picture and "
            "would be invisible; choose a lower position for the subtitles");
}

TEST(EncodeSubtitlePacket, RefusesAnOversizedUnitNamingTheSubtitle) {
  // Alternating colours on every row: 719 one-pixel runs, 362 bytes a row.
  FrameBitmap frame(576);
  for (int y = 0; y < 576; ++y) {
    for (int x = 0; x < 720; ++x) {
      frame.setPixel(x, y, x % 2 == 0 ? kKeys.text : kKeys.outline);
    }
  }
  EXPECT_NO_THROW(EncodeSubtitlePacket(frame, {0, 146}, kKeys, kRoles, 3, 0, 1000));
  EXPECT_EQ(testing::SubtitleErrorText([&] {
              EncodeSubtitlePacket(frame, {0, 148}, kKeys, kRoles, 3, 5000, 1000);
            }),
            "Subtitle 3, starting at 00:00:05,000: its subpicture would take 53612 bytes, more "
            "than the DVD limit of 53220 bytes; choose a smaller font size or outline width");
}

TEST(EncodeSubtitlePacket, RefusesAStartTimeBeyondTheTimeStampRange) {
  const FrameBitmap frame(480);
  EXPECT_EQ(testing::SubtitleErrorText([&] {
              EncodeSubtitlePacket(frame, {400, 2}, kKeys, kRoles, 2, 50'000'000, 1000);
            }),
            "Subtitle 2, starting at 13:53:20,000: its start time cannot be written as a time "
            "stamp (0 to 47721858 ms)");
}

}  // namespace
}  // namespace tesmora
