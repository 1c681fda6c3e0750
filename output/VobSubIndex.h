#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "core/RgbHex.h"

namespace tesmora {

// What the index says about the whole track.
struct VobSubTrack {
  int frameHeight = 576;  // 576 for PAL, 480 for NTSC; the width is 720
  RgbPalette palette{};   // the colours of the 16 entries
  std::string language;   // ISO 639-1 code, two lower-case letters
  bool forced = false;    // every unit uses the forced start-display
};

// One unit: its start time in ticks of the 90 kHz clock and the offset of
// its first pack in the .sub file.
struct VobSubIndexEntry {
  std::uint32_t pts = 0;
  std::uint64_t filePosition = 0;
};

// "hh:mm:ss:mmm": a time stamp as the index writes it, the 90 kHz ticks
// rounded down to whole milliseconds.
std::string VobSubTimestamp(std::uint32_t pts);

// The text of the .idx file, lines ending in LF: the version line players
// and muxers look for, the frame size, the display settings at neutral
// values, "forced subs: ON|OFF", the palette, then the one track as
// "id: LANG, index: 0" with one "timestamp: hh:mm:ss:mmm, filepos:
// 000000000" line (9 lower-case hex digits) per unit. Throws
// std::invalid_argument for a frame height other than 576 or 480 or a
// language that is not two lower-case letters.
std::string VobSubIndexText(const VobSubTrack& track, std::span<const VobSubIndexEntry> entries);

}  // namespace tesmora
