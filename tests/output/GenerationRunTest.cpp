#include "output/GenerationRun.h"

#include <gtest/gtest.h>

#include "sup/SubtitlePacket.h"
#include "tests/files/TestFolder.h"
#include "tests/sup/HexText.h"

namespace tesmora {
namespace {

using testing::Hex;

constexpr RoleKeyColours kKeys{{255, 255, 255}, {0, 0, 0}, {128, 128, 128}};

// The first command of a unit's first control sequence: the start-display.
std::uint8_t StartCommand(const SupPacket& packet) {
  const std::size_t commands = (packet.unit[2] << 8 | packet.unit[3]) + 4;
  return packet.unit[commands];
}

TEST(EncodeSubpictureUnits, HandsOverEachPacketAtItsPlannedTimeWithItsStartDisplay) {
  FrameBitmap frame(576);
  frame.fillRows(500, 501, kKeys.text);
  const std::vector<Subpicture> subpictures = {{90000, 176, {0}}, {5512500, 7, {1, 0}}};
  for (const StartDisplay start : {StartDisplay::Normal, StartDisplay::Forced}) {
    std::vector<std::uint32_t> stamps;
    std::vector<std::vector<int>> drawn;
    EncodeSubpictureUnits(
        subpictures, {{1000, 3000}, {61250, 62000}}, kKeys, start,
        [&](const Subpicture& subpicture) {
          drawn.push_back(subpicture.cues);
          return DrawnSubpicture{&frame, {500, 2}, {1, 0, 3, 0}};
        },
        [&](const SupPacket& packet, std::uint32_t pts) {
          stamps.push_back(pts);
          EXPECT_EQ(StartCommand(packet), start == StartDisplay::Forced ? 0x00 : 0x01);
          // The stop sequence's delay is the planned one.
          const std::size_t stop = packet.unit[2] << 8 | packet.unit[3];
          const std::size_t second = packet.unit[stop + 2] << 8 | packet.unit[stop + 3];
          EXPECT_EQ(packet.unit[second] << 8 | packet.unit[second + 1],
                    stamps.size() == 1 ? 176 : 7);
        });
    EXPECT_EQ(stamps, (std::vector<std::uint32_t>{90000, 5512500}));
    EXPECT_EQ(drawn, (std::vector<std::vector<int>>{{0}, {1, 0}}));
  }
}

TEST(EncodeSubpictureUnits, NamesTheFirstCueOfASubpictureThatCannotBeEncoded) {
  const FrameBitmap frame(576);
  try {
    EncodeSubpictureUnits(
        {{90000, 10, {1}}}, {{0, 500}, {62345, 63000}}, kKeys, StartDisplay::Normal,
        [&](const Subpicture&) {
          return DrawnSubpicture{&frame, {-80, 60}, {1, 0, 3, 0}};
        },
        [](const SupPacket&, std::uint32_t) {});
    FAIL() << "no error";
  } catch (const SubtitleError& error) {
    EXPECT_EQ(std::string(error.what()).substr(0, 36), "Subtitle 2, starting at 00:01:02,345");
  }
}

TEST(EncodeSubpictureUnit, ReadsTheCodeFrameWhenTheDrawingLeftOne) {
  FrameBitmap frame(576);
  CodeFrame codes(576);
  for (int x = 200; x < 260; ++x) {
    frame.setPixel(x, 501, kKeys.outline);
    codes.setInk(x, 501, static_cast<unsigned>(PixelCode::Outline));
  }
  const Subpicture subpicture{90000, 176, {0}};
  const auto encode = [&](const DrawnSubpicture& drawn) {
    return EncodeSubpictureUnit(subpicture, {{1000, 3000}}, kKeys, StartDisplay::Normal,
                                [&](const Subpicture&) { return drawn; });
  };
  const SupPacket fromKeyFrame = encode({&frame, {500, 4}, {1, 0, 3, 0}});
  const FrameBitmap blank(576);
  // The code frame wins over a key frame drawn alongside it.
  const SupPacket fromCodes = encode({&blank, {500, 4}, {1, 0, 3, 0}, &codes});
  EXPECT_EQ(Hex(fromCodes.unit), Hex(fromKeyFrame.unit));
  EXPECT_EQ(Hex(fromCodes.header), Hex(fromKeyFrame.header));
  EXPECT_EQ(Hex(encode({nullptr, {500, 4}, {1, 0, 3, 0}, &codes}).unit), Hex(fromKeyFrame.unit));
  // The band is cut to the code frame, and one wholly outside it refused.
  EXPECT_EQ(Hex(encode({nullptr, {500, 200}, {1, 0, 3, 0}, &codes}).unit),
            Hex(encode({&frame, {500, 200}, {1, 0, 3, 0}}).unit));
  EXPECT_THROW(encode({nullptr, {-80, 60}, {1, 0, 3, 0}, &codes}), SubtitleError);
}

using WriteSupPacketTest = testing::TestFolder;

TEST_F(WriteSupPacketTest, WritesHeaderAndUnitOfEveryPacket) {
  const FrameBitmap frame(576);
  PendingFile stream(folder_ / "Generated.sup");
  EncodeSubpictureUnits(
      {{90000, 176, {0}}}, {{1000, 3000}}, kKeys, StartDisplay::Normal,
      [&](const Subpicture&) {
        return DrawnSubpicture{&frame, {500, 2}, {1, 0, 3, 0}};
      },
      [&stream](const SupPacket& packet, std::uint32_t) { WriteSupPacket(stream, packet); });
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
