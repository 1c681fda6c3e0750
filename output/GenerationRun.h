#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "files/PendingFile.h"
#include "render/CodeFrame.h"
#include "render/EncodeArea.h"
#include "render/FrameBitmap.h"
#include "render/PixelCode.h"
#include "sup/SupPacket.h"
#include "timing/Timeline.h"

namespace tesmora {

// One subpicture as the run's drawing step leaves it for the encoder: the
// frame it was drawn on, its band and the roles' palette entries. It was
// drawn either on a key frame or, when `codeFrame` is set, on a code frame,
// which the encoder then reads instead.
struct DrawnSubpicture {
  const FrameBitmap* frame = nullptr;
  EncodeArea area;
  RolePaletteIndices roles;
  const CodeFrame* codeFrame = nullptr;
};

// Draws the cues a subpicture shows.
using SubpictureDrawing = std::function<DrawnSubpicture(const Subpicture& subpicture)>;

// Takes each encoded subpicture: its packet and its start in ticks of the
// 90 kHz clock.
using PacketSink = std::function<void(const SupPacket& packet, std::uint32_t pts)>;

// Draws one subpicture with `draw` and encodes it at its planned time with
// the given start-display. Throws SubtitleError, naming the subpicture's
// first cue in `cues`, when it cannot become a valid packet.
SupPacket EncodeSubpictureUnit(const Subpicture& subpicture, const std::vector<CueTime>& cues,
                               const RoleKeyColours& keys, StartDisplay start,
                               const SubpictureDrawing& draw);

// Encodes one packet per subpicture, in the given (time) order, and hands
// each to `sink`: draws it with `draw` and encodes it at its planned time
// with the role colours captured at the start and the given start-display.
// `cues` are the times of the cues the subpictures index, for the message
// of a subpicture that cannot become a valid packet (a SubtitleError naming
// its first cue); what `sink` throws is passed on.
void EncodeSubpictureUnits(const std::vector<Subpicture>& subpictures,
                           const std::vector<CueTime>& cues, const RoleKeyColours& keys,
                           StartDisplay start, const SubpictureDrawing& draw,
                           const PacketSink& sink);

// Appends a packet to a stream file: its "SP" header, then its unit.
void WriteSupPacket(PendingFile& stream, const SupPacket& packet);

}  // namespace tesmora
