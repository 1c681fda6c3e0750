#include "sup/SupPacket.h"

#include <algorithm>

namespace tesmora {
namespace {

constexpr std::uint8_t kStartDisplay = 0x01;
constexpr std::uint8_t kForcedStartDisplay = 0x00;
constexpr std::uint8_t kSetColour = 0x03;
constexpr std::uint8_t kSetContrast = 0x04;
constexpr std::uint8_t kSetDisplayArea = 0x05;
constexpr std::uint8_t kSetPixelAddresses = 0x06;
constexpr std::uint8_t kStopDisplay = 0x02;
constexpr std::uint8_t kEndOfCommands = 0xFF;

constexpr int kFirstSequenceSize = 24;
constexpr int kSecondSequenceSize = 6;
constexpr int kLastColumn = 719;

void PutBigEndian16(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::uint8_t NibblePair(int high, int low) {
  if (high < 0 || high > 15 || low < 0 || low > 15) {
    throw std::invalid_argument("palette index outside 0 to 15");
  }
  return static_cast<std::uint8_t>(high << 4 | low);
}

}  // namespace

std::array<std::uint8_t, 6> DisplayAreaBytes(const EncodeArea& area) {
  const int xStart = 0;
  const int xEnd = kLastColumn;
  const int yStart = area.firstLine;
  const int yEnd = area.lastLine();
  if (yStart < 0 || yEnd > 0xFFF || yEnd < yStart) {
    throw std::invalid_argument("display area rows outside 0 to 4095");
  }
  return {static_cast<std::uint8_t>(xStart >> 4),
          static_cast<std::uint8_t>((xStart & 0xF) << 4 | xEnd >> 8),
          static_cast<std::uint8_t>(xEnd & 0xFF),
          static_cast<std::uint8_t>(yStart >> 4),
          static_cast<std::uint8_t>((yStart & 0xF) << 4 | yEnd >> 8),
          static_cast<std::uint8_t>(yEnd & 0xFF)};
}

namespace {

using ColourBytes = std::array<std::uint8_t, 2>;

ColourBytes RoleColourBytes(const RolePaletteIndices& roles) {
  return {NibblePair(roles.antialias, roles.outline), NibblePair(roles.text, roles.background)};
}

long long UnitSize(const PixelData& pixels) {
  const long long p = static_cast<long long>(pixels.bytes.size());
  return p + 4 + kFirstSequenceSize + kSecondSequenceSize + (p % 2);
}

void CheckUnitSize(const PixelData& pixels) {
  const long long unitSize = UnitSize(pixels);
  if (unitSize > kMaxUnitSize) {
    throw PacketError("its subpicture would take " + std::to_string(unitSize) +
                      " bytes, more than the DVD limit of " + std::to_string(kMaxUnitSize) +
                      " bytes; choose a smaller font size or outline width");
  }
}

// The packet of checked parts.
SupPacket AssemblePacket(const PixelData& pixels, const EncodeArea& area, SubpictureTime time,
                         const ColourBytes& colours, StartDisplay start) {
  const long long p = static_cast<long long>(pixels.bytes.size());
  const long long firstSequence = p + 4;
  const long long secondSequence = firstSequence + kFirstSequenceSize;
  const long long unitSize = UnitSize(pixels);
  const std::uint32_t pts = time.startTicks;

  SupPacket packet;
  packet.header = {'S',
                   'P',
                   static_cast<std::uint8_t>(pts & 0xFF),
                   static_cast<std::uint8_t>((pts >> 8) & 0xFF),
                   static_cast<std::uint8_t>((pts >> 16) & 0xFF),
                   static_cast<std::uint8_t>((pts >> 24) & 0xFF),
                   0,
                   0,
                   0,
                   0};

  std::vector<std::uint8_t>& unit = packet.unit;
  unit.reserve(static_cast<std::size_t>(unitSize));
  PutBigEndian16(unit, static_cast<int>(unitSize));
  PutBigEndian16(unit, static_cast<int>(firstSequence));
  unit.insert(unit.end(), pixels.bytes.begin(), pixels.bytes.end());

  // First sequence: show the subpicture at the time stamp.
  PutBigEndian16(unit, 0);
  PutBigEndian16(unit, static_cast<int>(secondSequence));
  unit.push_back(start == StartDisplay::Forced ? kForcedStartDisplay : kStartDisplay);
  unit.push_back(kSetColour);
  unit.push_back(colours[0]);
  unit.push_back(colours[1]);
  unit.push_back(kSetContrast);
  unit.push_back(0xFF);  // codes 3 and 2 opaque
  unit.push_back(0xF0);  // code 1 opaque, code 0 transparent
  unit.push_back(kSetDisplayArea);
  const auto areaBytes = DisplayAreaBytes(area);
  unit.insert(unit.end(), areaBytes.begin(), areaBytes.end());
  unit.push_back(kSetPixelAddresses);
  PutBigEndian16(unit, pixels.topFieldOffset);
  PutBigEndian16(unit, pixels.bottomFieldOffset);
  unit.push_back(kEndOfCommands);

  // Second sequence: hide it after the duration; it points at itself as the last.
  PutBigEndian16(unit, time.stopDelayUnits);
  PutBigEndian16(unit, static_cast<int>(secondSequence));
  unit.push_back(kStopDisplay);
  unit.push_back(kEndOfCommands);

  if (p % 2 != 0) {
    unit.push_back(0xFF);
  }
  return packet;
}

}  // namespace

SupPacket BuildPacket(const PixelData& pixels, const EncodeArea& area, SubpictureTime time,
                      const RolePaletteIndices& roles, StartDisplay start) {
  const ColourBytes colours = RoleColourBytes(roles);
  CheckUnitSize(pixels);
  return AssemblePacket(pixels, area, time, colours, start);
}

}  // namespace tesmora
