#include "output/VobSubPacks.h"

#include <algorithm>

namespace tesmora {
namespace {

constexpr std::size_t kPackHeaderSize = 14;
// Start code, length, two flag bytes, header data length.
constexpr std::size_t kPesFixedSize = 9;
constexpr std::size_t kPtsSize = 5;
constexpr std::size_t kSubstreamSize = 1;
// A padding stream packet: start code and length.
constexpr std::size_t kPaddingHeaderSize = 6;

constexpr std::uint8_t kPrivateStream1 = 0xBD;
constexpr std::uint8_t kPaddingStream = 0xBE;
constexpr std::uint8_t kStuffing = 0xFF;

void PutStartCode(std::vector<std::uint8_t>& out, std::uint8_t code) {
  out.insert(out.end(), {0x00, 0x00, 0x01, code});
}

void PutBigEndian16(std::vector<std::uint8_t>& out, std::size_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8 & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// The MPEG-2 pack header: SCR base with its marker bits, extension 0, the
// mux rate of 25200 units of 50 bytes/s (10.08 Mbit/s, a DVD's), and no
// stuffing.
void PutPackHeader(std::vector<std::uint8_t>& out, std::uint64_t scr) {
  PutStartCode(out, 0xBA);
  out.push_back(static_cast<std::uint8_t>(0x44 | (scr >> 27 & 0x38) | (scr >> 28 & 0x03)));
  out.push_back(static_cast<std::uint8_t>(scr >> 20 & 0xFF));
  out.push_back(static_cast<std::uint8_t>(0x04 | (scr >> 12 & 0xF8) | (scr >> 13 & 0x03)));
  out.push_back(static_cast<std::uint8_t>(scr >> 5 & 0xFF));
  out.push_back(static_cast<std::uint8_t>(0x04 | (scr << 3 & 0xF8)));
  out.push_back(0x01);
  out.insert(out.end(), {0x01, 0x89, 0xC3});
  out.push_back(0xF8);
}

// The five PTS bytes of a PES header that carries a PTS only: '0010', then
// bits 32-30, 29-15 and 14-0, each group closed by a marker bit.
void PutPts(std::vector<std::uint8_t>& out, std::uint64_t pts) {
  out.push_back(static_cast<std::uint8_t>(0x21 | (pts >> 29 & 0x0E)));
  out.push_back(static_cast<std::uint8_t>(pts >> 22 & 0xFF));
  out.push_back(static_cast<std::uint8_t>(0x01 | (pts >> 14 & 0xFE)));
  out.push_back(static_cast<std::uint8_t>(pts >> 7 & 0xFF));
  out.push_back(static_cast<std::uint8_t>(0x01 | (pts << 1 & 0xFE)));
}

// One pack holding `data`, the part of a unit that fits; `first` marks the
// pack with the unit's first byte, whose PES header carries the PTS.
void PutPack(std::vector<std::uint8_t>& out, std::uint32_t pts, bool first,
             std::span<const std::uint8_t> data) {
  const std::size_t ptsSize = first ? kPtsSize : 0;
  const std::size_t room =
      kVobSubPackSize - kPackHeaderSize - kPesFixedSize - ptsSize - kSubstreamSize;
  const std::size_t gap = room - data.size();
  const std::size_t stuffing = gap < kPaddingHeaderSize ? gap : 0;
  const std::size_t headerData = ptsSize + stuffing;

  PutPackHeader(out, pts);
  PutStartCode(out, kPrivateStream1);
  PutBigEndian16(out, 3 + headerData + kSubstreamSize + data.size());
  out.push_back(0x81);  // MPEG-2 marker, original
  out.push_back(first ? 0x80 : 0x00);
  out.push_back(static_cast<std::uint8_t>(headerData));
  if (first) {
    PutPts(out, pts);
  }
  out.insert(out.end(), stuffing, kStuffing);
  out.push_back(kVobSubSubstream);
  out.insert(out.end(), data.begin(), data.end());
  if (gap >= kPaddingHeaderSize) {
    PutStartCode(out, kPaddingStream);
    PutBigEndian16(out, gap - kPaddingHeaderSize);
    out.insert(out.end(), gap - kPaddingHeaderSize, kStuffing);
  }
}

}  // namespace

VobSubPacks BuildVobSubPacks(std::span<const VobSubUnit> units) {
  constexpr std::size_t kFirstRoom =
      kVobSubPackSize - kPackHeaderSize - kPesFixedSize - kPtsSize - kSubstreamSize;
  constexpr std::size_t kNextRoom = kFirstRoom + kPtsSize;
  std::size_t packCount = 0;
  for (const VobSubUnit& unit : units) {
    const std::size_t rest = unit.bytes.size() > kFirstRoom ? unit.bytes.size() - kFirstRoom : 0;
    packCount += 1 + (rest + kNextRoom - 1) / kNextRoom;
  }

  VobSubPacks packs;
  packs.bytes.reserve(packCount * kVobSubPackSize);
  packs.unitPositions.reserve(units.size());
  for (const VobSubUnit& unit : units) {
    packs.unitPositions.push_back(packs.bytes.size());
    std::span<const std::uint8_t> rest = unit.bytes;
    bool first = true;
    do {
      const std::size_t take = std::min(rest.size(), first ? kFirstRoom : kNextRoom);
      PutPack(packs.bytes, unit.pts, first, rest.first(take));
      rest = rest.subspan(take);
      first = false;
    } while (!rest.empty());
  }
  return packs;
}

}  // namespace tesmora
