#pragma once

#include <cstdint>
#include <functional>

#include "sup/EncodeArea.h"
#include "sup/FrameBitmap.h"
#include "sup/PendingFile.h"
#include "sup/PixelCode.h"
#include "sup/SupPacket.h"

namespace tesmora {

// One subtitle as the run's drawing step leaves it for the encoder: the key
// frame it was drawn on, its band, its times and the roles' palette entries.
struct DrawnSubtitle {
  const FrameBitmap* frame = nullptr;
  EncodeArea area;
  long long startMs = 0;
  long long durationMs = 0;
  RolePaletteIndices roles;
};

// Takes each encoded subtitle: its packet and its start in ticks of the
// 90 kHz clock.
using PacketSink = std::function<void(const SupPacket& packet, std::uint32_t pts)>;

// Encodes one packet per subtitle, in list order, and hands each to `sink`:
// draws subtitle i with `draw(i)` and encodes it with the role colours
// captured at the start and the given start-display. Throws SubtitleError
// for a subtitle that cannot become a valid packet, and passes on what
// `sink` throws.
void EncodeSubpictureUnits(int count, const RoleKeyColours& keys, StartDisplay start,
                           const std::function<DrawnSubtitle(int index)>& draw,
                           const PacketSink& sink);

// Appends a packet to a stream file: its "SP" header, then its unit.
void WriteSupPacket(PendingFile& stream, const SupPacket& packet);

// Writes one packet per subtitle, in list order, into `stream`, each with
// the normal start-display. Throws OutputFileError on a file failure and
// SubtitleError for a subtitle that cannot become a valid packet.
void WriteSubpictureStream(PendingFile& stream, int count, const RoleKeyColours& keys,
                           const std::function<DrawnSubtitle(int index)>& draw);

}  // namespace tesmora
