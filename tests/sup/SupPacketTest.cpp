#include "sup/SupPacket.h"

#include <gtest/gtest.h>

#include "tests/sup/HexText.h"
#include "tests/sup/MillisecondPackets.h"

namespace tesmora {
namespace {

using testing::Hex;

constexpr RoleKeyColours kKeys{{255, 255, 255}, {0, 0, 0}, {128, 128, 128}};
constexpr RolePaletteIndices kGenericRoles{1, 0, 3, 0};  // antialias, outline, text, background

PixelData Bytes(std::size_t count) {
  PixelData data;
  data.bytes.assign(count, 0);
  data.topFieldOffset = 6;
  data.bottomFieldOffset = 6;
  return data;
}

// The classic worked example (two blank rows at 500, 1000 ms, 2000 ms) with
// the stream's two deliberate mends: the display area ends at its last row,
// 501 (1F5, not 1F6), and the stop delay counts 1024-tick units (2000 ms is
// 176 = 00 B0, not 180).
TEST(BuildPacket, ReproducesTheMendedWorkedExampleByteForByte) {
  const FrameBitmap frame(576);
  const EncodeArea area{500, 2};
  const SupPacket packet =
      BuildPacket(EncodeFields(frame, area, kKeys), area, 1000, 2000, kGenericRoles);
  EXPECT_EQ(Hex(packet.header), "53 50 90 5F 01 00 00 00 00 00");
  EXPECT_EQ(Hex(packet.unit),
            "00 34 00 16 00 00 "
            "03 FC 03 FC 03 44 00 00 "
            "03 FC 03 FC 03 44 00 00 "
            "00 00 00 2E 01 03 10 30 04 FF F0 05 00 02 CF 1F 41 F5 06 00 06 00 0E FF "
            "00 B0 00 2E 02 FF");
}

TEST(BuildPacket, ForcedDisplayChangesOnlyTheStartCommand) {
  const FrameBitmap frame(576);
  const EncodeArea area{500, 2};
  const PixelData pixels = EncodeFields(frame, area, kKeys);
  const SupPacket normal = BuildPacket(pixels, area, 1000, 2000, kGenericRoles);
  const SupPacket forced =
      BuildPacket(pixels, area, 1000, 2000, kGenericRoles, StartDisplay::Forced);
  EXPECT_EQ(Hex(forced.header), Hex(normal.header));
  EXPECT_EQ(Hex(forced.unit),
            "00 34 00 16 00 00 "
            "03 FC 03 FC 03 44 00 00 "
            "03 FC 03 FC 03 44 00 00 "
            "00 00 00 2E 00 03 10 30 04 FF F0 05 00 02 CF 1F 41 F5 06 00 06 00 0E FF "
            "00 B0 00 2E 02 FF");
  EXPECT_EQ(Hex(BuildPacket(pixels, area, 1000, 2000, kGenericRoles, StartDisplay::Normal).unit),
            Hex(normal.unit));
}

TEST(BuildPacket, PadsAUnitWithOddPixelDataToAnEvenSize) {
  const SupPacket odd = BuildPacket(Bytes(19), {0, 1}, 0, 0, kGenericRoles);
  EXPECT_EQ(odd.unit.size(), 19u + 35);
  EXPECT_EQ(Hex({odd.unit.data(), 4}), "00 36 00 17");
  EXPECT_EQ(Hex({odd.unit.data() + odd.unit.size() - 2, 2}), "FF FF");

  const SupPacket even = BuildPacket(Bytes(18), {0, 1}, 0, 0, kGenericRoles);
  EXPECT_EQ(even.unit.size(), 18u + 34);
  EXPECT_EQ(Hex({even.unit.data() + even.unit.size() - 2, 2}), "02 FF");
}

TEST(BuildPacket, WritesColoursContrastAndFieldOffsets) {
  PixelData data = Bytes(10);
  data.bottomFieldOffset = 4;
  const SupPacket packet = BuildPacket(data, {0, 1}, 0, 0, {15, 14, 13, 12});
  const std::uint8_t* first = packet.unit.data() + 10 + 4;
  EXPECT_EQ(Hex({first + 4, 6}), "01 03 FE DC 04 FF");
  EXPECT_EQ(Hex({first + 10, 1}), "F0");
  EXPECT_EQ(Hex({first + 18, 6}), "06 00 06 00 04 FF");
  EXPECT_THROW(BuildPacket(data, {0, 1}, 0, 0, {16, 0, 0, 0}), std::invalid_argument);
  EXPECT_THROW(BuildPacket(data, {0, 1}, 0, 0, {0, 0, 0, -1}), std::invalid_argument);
}

TEST(PresentationTimeStamp, CountsTheNinetyKilohertzClock) {
  EXPECT_EQ(PresentationTimeStamp(0), 0u);
  EXPECT_EQ(PresentationTimeStamp(1000), 90000u);
  EXPECT_EQ(PresentationTimeStamp(47721858), 4294967220u);
  EXPECT_THROW(PresentationTimeStamp(47721859), PacketError);
  EXPECT_THROW(PresentationTimeStamp(-1), PacketError);
  const SupPacket packet = BuildPacket(Bytes(2), {0, 1}, 0, 0, kGenericRoles);
  EXPECT_EQ(Hex(packet.header), "53 50 00 00 00 00 00 00 00 00");
}

TEST(StopDelayTicks, CountsUnitsOf1024Over90000SecondsRoundedToEven) {
  EXPECT_EQ(StopDelayTicks(2000), 176);
  EXPECT_EQ(StopDelayTicks(1500), 132);
  EXPECT_EQ(StopDelayTicks(50), 4);
  EXPECT_EQ(StopDelayTicks(256), 22);  // 22.5
  EXPECT_EQ(StopDelayTicks(768), 68);  // 67.5
  EXPECT_EQ(StopDelayTicks(1), 0);
  EXPECT_EQ(StopDelayTicks(6), 1);  // 0.527
}

TEST(StopDelayTicks, HoldsToTheSixteenBitRangeInsteadOfWrapping) {
  EXPECT_EQ(StopDelayTicks(0), 0);
  EXPECT_EQ(StopDelayTicks(-500), 0);
  EXPECT_EQ(StopDelayTicks(745640), 65535);  // 65534.77
  EXPECT_EQ(StopDelayTicks(745645), 65535);  // 65535.21
  EXPECT_EQ(StopDelayTicks(745650), 65535);  // 65535.64 would round to 65536
  EXPECT_EQ(StopDelayTicks(10'000'000), 65535);
  EXPECT_EQ(StopDelayTicks(9'000'000'000'000'000'000LL), 65535);
}

TEST(DisplayAreaBytes, DeclaresInclusiveRowsOfTheBand) {
  EXPECT_EQ(Hex(DisplayAreaBytes({480, 50})), "00 02 CF 1E 02 11");
  EXPECT_EQ(Hex(DisplayAreaBytes({0, 1})), "00 02 CF 00 00 00");
  EXPECT_EQ(Hex(DisplayAreaBytes({0, 576})), "00 02 CF 00 02 3F");
}

TEST(BuildPacket, RefusesAUnitAboveTheDvdLimit) {
  // 53186 bytes of pixel data make a unit of exactly 53220 bytes.
  EXPECT_EQ(BuildPacket(Bytes(53186), {0, 1}, 0, 0, kGenericRoles).unit.size(), 53220u);
  EXPECT_THROW(BuildPacket(Bytes(53187), {0, 1}, 0, 0, kGenericRoles), PacketError);
  EXPECT_THROW(BuildPacket(Bytes(70000), {0, 1}, 0, 0, kGenericRoles), PacketError);
  EXPECT_THROW(BuildPacket(Bytes(53187), {0, 1}, SubpictureTime{}, kGenericRoles), PacketError);
}

TEST(BuildPacket, WritesATimeGivenInTicksAndUnitsAsGiven) {
  const FrameBitmap frame(576);
  const EncodeArea area{500, 2};
  const PixelData pixels = EncodeFields(frame, area, kKeys);
  const SupPacket byMs = BuildPacket(pixels, area, 1000, 2000, kGenericRoles);
  const SupPacket byTicks = BuildPacket(pixels, area, SubpictureTime{90000, 176}, kGenericRoles);
  EXPECT_EQ(byTicks.header, byMs.header);
  EXPECT_EQ(byTicks.unit, byMs.unit);

  // The whole 32-bit clock and the largest delay, beyond what whole ms reach.
  const SupPacket last = BuildPacket(Bytes(2), {0, 1}, {0xFFFFFFFF, 0xFFFF}, kGenericRoles);
  EXPECT_EQ(Hex(last.header), "53 50 FF FF FF FF 00 00 00 00");
  EXPECT_EQ(Hex({last.unit.data() + 30, 6}), "FF FF 00 1E 02 FF");
  EXPECT_THROW(BuildPacket(Bytes(2), {0, 1}, SubpictureTime{}, {16, 0, 0, 0}),
               std::invalid_argument);
}

}  // namespace
}  // namespace tesmora
