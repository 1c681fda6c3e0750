#include "sup/GenerationRun.h"

#include <gtest/gtest.h>

#include "tests/sup/HexText.h"
#include "tests/sup/TestFolder.h"

namespace tesmora {
namespace {

using testing::Hex;

constexpr RoleKeyColours kKeys{{255, 255, 255}, {0, 0, 0}, {128, 128, 128}};

// The first command of a unit's first control sequence: the start-display.
std::uint8_t StartCommand(const SupPacket& packet) {
  const std::size_t commands = (packet.unit[2] << 8 | packet.unit[3]) + 4;
  return packet.unit[commands];
}

TEST(EncodeSubpictureUnits, HandsOverEachPacketWithItsTimeStampAndStartDisplay) {
  FrameBitmap frame(576);
  frame.fillRows(500, 501, kKeys.text);
  const std::vector<long long> starts = {1000, 61250};
  for (const StartDisplay start : {StartDisplay::Normal, StartDisplay::Forced}) {
    std::vector<std::uint32_t> stamps;
    EncodeSubpictureUnits(
        2, kKeys, start,
        [&](int i) {
          return DrawnSubtitle{
              &frame, {500, 2}, starts[static_cast<std::size_t>(i)], 2000, {1, 0, 3, 0}};
        },
        [&](const SupPacket& packet, std::uint32_t pts) {
          stamps.push_back(pts);
          EXPECT_EQ(StartCommand(packet), start == StartDisplay::Forced ? 0x00 : 0x01);
        });
    EXPECT_EQ(stamps, (std::vector<std::uint32_t>{90000, 5512500}));
  }
}

using WriteSubpictureStreamTest = testing::TestFolder;

TEST_F(WriteSubpictureStreamTest, WritesHeaderAndUnitOfEveryPacket) {
  const FrameBitmap frame(576);
  PendingFile stream(folder_ / "Generated.sup");
  WriteSubpictureStream(stream, 1, kKeys, [&](int) {
    return DrawnSubtitle{&frame, {500, 2}, 1000, 2000, {1, 0, 3, 0}};
  });
  stream.finish();
  stream.replaceTarget();
  const std::string bytes = Contents(folder_ / "Generated.sup");
  ASSERT_GT(bytes.size(), 12u);
  // "SP", PTS 90000 little-endian, DTS 0, then the unit's size.
  EXPECT_EQ(Hex({reinterpret_cast<const std::uint8_t*>(bytes.data()), 10}),
            "53 50 90 5F 01 00 00 00 00 00");
  const std::size_t unitSize =
      static_cast<std::uint8_t>(bytes[10]) << 8 | static_cast<std::uint8_t>(bytes[11]);
  EXPECT_EQ(bytes.size(), 10 + unitSize);
}

}  // namespace
}  // namespace tesmora
