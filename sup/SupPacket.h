#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/EncodeArea.h"
#include "sup/EncodeFields.h"
#include "timing/SubpictureClock.h"

namespace tesmora {

// The largest subpicture unit a DVD player must accept.
inline constexpr int kMaxUnitSize = 53220;

// Palette entries (0 to 15) of the four colour roles, as the unit's colour
// command assigns them to pixel codes 3, 2, 1 and 0.
struct RolePaletteIndices {
  int antialias = 0;
  int outline = 0;
  int text = 0;
  int background = 0;
};

// How a unit's first control sequence shows the subpicture: Normal starts
// the display only while the viewer has subtitles switched on; Forced starts
// it regardless, for lines (signs, foreign speech) that must always be seen.
enum class StartDisplay { Normal, Forced };

// One packet of the stream: the 10-byte "SP" header and the subpicture unit.
struct SupPacket {
  std::array<std::uint8_t, 10> header{};
  std::vector<std::uint8_t> unit;
};

// The six bytes of the display area command: columns 0 to 719 and the rows of
// the band, both ends inclusive, 12 bits each.
std::array<std::uint8_t, 6> DisplayAreaBytes(const EncodeArea& area);

// Assembles one packet, its time given as the header and the stop command
// write it. `area` is the band the pixel data holds; `start` picks the
// start-display command (0x01 Normal, 0x00 Forced). Throws PacketError when
// the unit would exceed kMaxUnitSize, and std::invalid_argument for a
// palette index outside 0 to 15.
SupPacket BuildPacket(const PixelData& pixels, const EncodeArea& area, SubpictureTime time,
                      const RolePaletteIndices& roles, StartDisplay start = StartDisplay::Normal);

}  // namespace tesmora
