#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tesmora {

// Every pack of a VobSub .sub file has this size, a DVD sector.
inline constexpr std::size_t kVobSubPackSize = 2048;

// The substream of private stream 1 that carries the first subtitle track.
inline constexpr std::uint8_t kVobSubSubstream = 0x20;

// One subpicture unit and its start time in ticks of the 90 kHz clock.
struct VobSubUnit {
  std::uint32_t pts = 0;
  std::span<const std::uint8_t> bytes;
};

// The .sub file's bytes and, for each unit in order, the offset of the pack
// its first byte is in: the "filepos" the index names.
struct VobSubPacks {
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint64_t> unitPositions;
};

// Lays the units out as an MPEG-2 program stream of 2048-byte packs. Each
// pack is a pack header (the unit's time stamp as SCR, the DVD mux rate) and
// one private stream 1 PES packet of substream 0x20. A unit begins a new
// pack; its first PES packet carries its PTS, and the rest of a unit too
// large for one pack follows in packs of its own. The last pack of a unit is
// filled up with a padding stream packet, or with stuffing bytes in the PES
// header where the gap is too small for one (1 to 5 bytes).
VobSubPacks BuildVobSubPacks(std::span<const VobSubUnit> units);

}  // namespace tesmora
