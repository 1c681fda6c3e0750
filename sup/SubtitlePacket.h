#pragma once

#include <stdexcept>
#include <string>

#include "render/CodeFrame.h"
#include "render/EncodeArea.h"
#include "render/FrameBitmap.h"
#include "render/PixelCode.h"
#include "sup/SupPacket.h"

namespace tesmora {

// A subtitle that cannot become a valid packet. The text names the subtitle
// by its number in the list and its start time, so the user can find it.
class SubtitleError : public std::runtime_error {
 public:
  SubtitleError(int number, long long startMs, const std::string& reason);
};

// "hh:mm:ss,mmm", as subtitle files write times.
std::string FormatSubtitleTime(long long ms);

// The encoder's side of one subpicture in a generation run, at the time the
// timeline planned: the drawn band is cut to the frame, encoded, and wrapped
// into a packet. `number` (counted from 1) and `startMs` name its first cue
// in an error; `start` picks the normal or forced display. Throws
// SubtitleError when no row of the band lies inside the frame or the packet
// cannot be written.
SupPacket EncodeSubtitlePacket(const FrameBitmap& frame, const EncodeArea& drawnArea,
                               const RoleKeyColours& keys, const RolePaletteIndices& roles,
                               int number, long long startMs, SubpictureTime time,
                               StartDisplay start = StartDisplay::Normal);

// The same for a subpicture drawn on a code frame, whose inks carry their
// codes.
SupPacket EncodeSubtitlePacket(const CodeFrame& frame, const EncodeArea& drawnArea,
                               const RolePaletteIndices& roles, int number, long long startMs,
                               SubpictureTime time, StartDisplay start = StartDisplay::Normal);

}  // namespace tesmora
