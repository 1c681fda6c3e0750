#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/EncodeArea.h"
#include "sup/EncodeFields.h"

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

// A packet that cannot be written as the format demands. The text completes a
// sentence that begins with the subtitle it concerns.
class PacketError : public std::runtime_error {
 public:
  explicit PacketError(const std::string& text) : std::runtime_error(text) {}
};

// The start time in ticks of the 90 kHz clock. Throws PacketError when the
// time is negative or too late for the header's 32 bits.
std::uint32_t PresentationTimeStamp(long long startMs);

// The stop delay in the unit's time base of 1024/90000 s, rounded to the
// nearest tick (a half to the even neighbour) and held to 0 ... 65535.
std::uint16_t StopDelayTicks(long long durationMs);

// The six bytes of the display area command: columns 0 to 719 and the rows of
// the band, both ends inclusive, 12 bits each.
std::array<std::uint8_t, 6> DisplayAreaBytes(const EncodeArea& area);

// When a subpicture shows: the time stamp in ticks of the 90 kHz clock and
// the stop delay in units of 1024 ticks.
struct SubpictureTime {
  std::uint32_t startTicks = 0;
  std::uint16_t stopDelayUnits = 0;

  friend bool operator==(const SubpictureTime&, const SubpictureTime&) = default;
};

// Assembles one packet, its time given as the header and the stop command
// write it. `area` is the band the pixel data holds; `start` picks the
// start-display command (0x01 Normal, 0x00 Forced). Throws PacketError when
// the unit would exceed kMaxUnitSize, and std::invalid_argument for a
// palette index outside 0 to 15.
SupPacket BuildPacket(const PixelData& pixels, const EncodeArea& area, SubpictureTime time,
                      const RolePaletteIndices& roles, StartDisplay start = StartDisplay::Normal);

}  // namespace tesmora
