#pragma once

#include "core/SubtitleError.h"
#include "render/CodeFrame.h"
#include "render/EncodeArea.h"
#include "render/FrameBitmap.h"
#include "render/PixelCode.h"
#include "sup/SupPacket.h"

namespace tesmora {

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
