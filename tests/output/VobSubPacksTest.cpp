#include "output/VobSubPacks.h"

#include <gtest/gtest.h>

#include <numeric>

#include "tests/sup/HexText.h"

namespace tesmora {
namespace {

using testing::Hex;

std::vector<std::uint8_t> Counting(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
  return bytes;
}

std::string HexAt(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count) {
  return Hex({bytes.data() + at, count});
}

std::size_t Be16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::size_t>(bytes[at] << 8 | bytes[at + 1]);
}

// What a demuxer takes from one pack: the substream's payload, the PTS bytes
// if the PES header flags one, and whether the pack fills exactly 2048 bytes.
struct PackContent {
  std::vector<std::uint8_t> payload;
  std::string pts;
  bool exactSize = false;
};

PackContent ReadPack(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  PackContent pack;
  const std::size_t pes = at + 14;
  EXPECT_EQ(HexAt(bytes, at, 4), "00 00 01 BA");
  EXPECT_EQ(HexAt(bytes, pes, 4), "00 00 01 BD");
  const std::size_t pesEnd = pes + 6 + Be16(bytes, pes + 4);
  const std::size_t headerData = bytes[pes + 8];
  if (bytes[pes + 7] == 0x80) {
    pack.pts = HexAt(bytes, pes + 9, 5);
  }
  const std::size_t substream = pes + 9 + headerData;
  EXPECT_EQ(bytes[substream], kVobSubSubstream);
  pack.payload.assign(bytes.begin() + static_cast<std::ptrdiff_t>(substream + 1),
                      bytes.begin() + static_cast<std::ptrdiff_t>(pesEnd));
  std::size_t end = pesEnd;
  if (end < at + kVobSubPackSize) {
    EXPECT_EQ(HexAt(bytes, end, 4), "00 00 01 BE");
    end += 6 + Be16(bytes, end + 4);
  }
  pack.exactSize = end == at + kVobSubPackSize;
  return pack;
}

TEST(BuildVobSubPacks, WritesASmallUnitAsOnePaddedPack) {
  const std::vector<std::uint8_t> unit = Counting(10);
  const VobSubUnit units[] = {{90000, unit}};
  const VobSubPacks packs = BuildVobSubPacks(units);
  ASSERT_EQ(packs.bytes.size(), kVobSubPackSize);
  EXPECT_EQ(packs.unitPositions, std::vector<std::uint64_t>{0});
  // Pack header: SCR 90000 with its marker bits, mux rate 25200, no stuffing.
  EXPECT_EQ(HexAt(packs.bytes, 0, 14), "00 00 01 BA 44 00 16 FC 84 01 01 89 C3 F8");
  // PES: length 19, MPEG-2 flags with a PTS, 5 header bytes, the PTS, substream 0x20.
  EXPECT_EQ(HexAt(packs.bytes, 14, 15), "00 00 01 BD 00 13 81 80 05 21 00 05 BF 21 20");
  EXPECT_EQ(HexAt(packs.bytes, 29, 10), "00 01 02 03 04 05 06 07 08 09");
  // Padding stream up to the pack's end: 2048 - 39 - 6 bytes of 0xFF.
  EXPECT_EQ(HexAt(packs.bytes, 39, 7), "00 00 01 BE 07 D3 FF");
  EXPECT_EQ(packs.bytes.back(), 0xFF);
}

TEST(BuildVobSubPacks, MarksEveryGroupOfPtsBitsAndScrBits) {
  const std::vector<std::uint8_t> unit = Counting(4);
  const VobSubUnit units[] = {{0, unit}, {0xFFFFFFFF, unit}, {0x12345678, unit}};
  const VobSubPacks packs = BuildVobSubPacks(units);
  ASSERT_EQ(packs.bytes.size(), 3 * kVobSubPackSize);
  EXPECT_EQ(HexAt(packs.bytes, 22, 6), "05 21 00 01 00 01");
  EXPECT_EQ(HexAt(packs.bytes, 4, 6), "44 00 04 00 04 01");
  // Bit 32 stays 0: the 32-bit stamp fills bits 31 to 0 of the 33.
  EXPECT_EQ(HexAt(packs.bytes, 2048 + 22, 6), "05 27 FF FF FF FF");
  EXPECT_EQ(HexAt(packs.bytes, 2048 + 4, 6), "5F FF FF FF FC 01");
  EXPECT_EQ(HexAt(packs.bytes, 4096 + 22, 6), "05 21 48 D1 AC F1");
  EXPECT_EQ(HexAt(packs.bytes, 4096 + 4, 6), "45 23 46 B3 C4 01");
}

TEST(BuildVobSubPacks, FillsOnePackExactlyAndSplitsALargerUnit) {
  // 2019 bytes fit the first pack beside its headers: no padding at all.
  const std::vector<std::uint8_t> full = Counting(2019);
  const VobSubUnit one[] = {{0, full}};
  const VobSubPacks exact = BuildVobSubPacks(one);
  ASSERT_EQ(exact.bytes.size(), kVobSubPackSize);
  EXPECT_EQ(HexAt(exact.bytes, 14, 6), "00 00 01 BD 07 EC");
  EXPECT_EQ(exact.bytes.back(), full.back());

  // One byte more moves to a second pack, whose PES header has no PTS.
  const std::vector<std::uint8_t> over = Counting(2020);
  const VobSubUnit two[] = {{90000, over}};
  const VobSubPacks split = BuildVobSubPacks(two);
  ASSERT_EQ(split.bytes.size(), 2 * kVobSubPackSize);
  EXPECT_EQ(split.unitPositions, std::vector<std::uint64_t>{0});
  EXPECT_EQ(HexAt(split.bytes, 2048, 14), "00 00 01 BA 44 00 16 FC 84 01 01 89 C3 F8");
  EXPECT_EQ(HexAt(split.bytes, 2048 + 14, 12), "00 00 01 BD 00 05 81 00 00 20 E3 00");
  EXPECT_EQ(HexAt(split.bytes, 2048 + 25, 6), "00 00 01 BE 07 E1");

  // A further pack holds 2024 bytes, five more than the first.
  const std::vector<std::uint8_t> twoFull = Counting(2019 + 2024);
  const VobSubUnit twoPacks[] = {{0, twoFull}};
  const VobSubPacks both = BuildVobSubPacks(twoPacks);
  ASSERT_EQ(both.bytes.size(), 2 * kVobSubPackSize);
  EXPECT_EQ(HexAt(both.bytes, 2048 + 14, 6), "00 00 01 BD 07 EC");
  EXPECT_EQ(both.bytes.back(), twoFull.back());
}

TEST(BuildVobSubPacks, StuffsThePesHeaderWhereNoPaddingPacketFits) {
  // A gap of 1 to 5 bytes cannot hold a 6-byte padding packet.
  for (std::size_t gap = 1; gap <= 5; ++gap) {
    const std::vector<std::uint8_t> unit = Counting(2019 - gap);
    const VobSubUnit units[] = {{0, unit}};
    const VobSubPacks packs = BuildVobSubPacks(units);
    ASSERT_EQ(packs.bytes.size(), kVobSubPackSize) << gap;
    EXPECT_EQ(Be16(packs.bytes, 18), 2028u) << gap;
    EXPECT_EQ(packs.bytes[22], 5 + gap) << gap;
    EXPECT_EQ(HexAt(packs.bytes, 28, gap + 1),
              HexAt(std::vector<std::uint8_t>(gap, 0xFF), 0, gap) + " 20")
        << gap;
    EXPECT_EQ(packs.bytes.back(), unit.back()) << gap;
  }
  // Six bytes take an empty padding packet.
  const std::vector<std::uint8_t> unit = Counting(2013);
  const VobSubUnit units[] = {{0, unit}};
  const VobSubPacks packs = BuildVobSubPacks(units);
  EXPECT_EQ(packs.bytes[22], 5);
  EXPECT_EQ(HexAt(packs.bytes, 2042, 6), "00 00 01 BE 00 00");
}

TEST(BuildVobSubPacks, StartsEveryUnitInAPackOfItsOwnAndKeepsItsBytes) {
  const std::size_t sizes[] = {52, 2019, 2020, 4043, 4044, 53220, 1, 2017};
  std::vector<std::vector<std::uint8_t>> bytes;
  std::vector<VobSubUnit> units;
  for (std::size_t n = 0; n < std::size(sizes); ++n) {
    bytes.push_back(Counting(sizes[n]));
    bytes.back()[0] = static_cast<std::uint8_t>(n);
  }
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    units.push_back({static_cast<std::uint32_t>(n * 90000), bytes[n]});
  }
  const VobSubPacks packs = BuildVobSubPacks(units);
  const std::vector<std::uint64_t> positions = {0, 2048, 4096, 8192, 12288, 18432, 73728, 75776};
  EXPECT_EQ(packs.unitPositions, positions);
  ASSERT_EQ(packs.bytes.size(), 77824u);
  for (std::size_t n = 0; n < units.size(); ++n) {
    const std::size_t end = n + 1 < units.size() ? positions[n + 1] : packs.bytes.size();
    std::vector<std::uint8_t> joined;
    for (std::size_t at = positions[n]; at < end; at += kVobSubPackSize) {
      const PackContent pack = ReadPack(packs.bytes, at);
      EXPECT_TRUE(pack.exactSize) << "unit " << n << ", pack at " << at;
      EXPECT_EQ(!pack.pts.empty(), at == positions[n]) << "unit " << n << ", pack at " << at;
      joined.insert(joined.end(), pack.payload.begin(), pack.payload.end());
    }
    EXPECT_EQ(joined, bytes[n]) << "unit " << n;
  }
}

TEST(BuildVobSubPacks, WritesNothingForNoUnits) {
  const VobSubPacks packs = BuildVobSubPacks({});
  EXPECT_TRUE(packs.bytes.empty());
  EXPECT_TRUE(packs.unitPositions.empty());
}

}  // namespace
}  // namespace tesmora
