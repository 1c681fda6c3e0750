#pragma once

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

// Writes one packet per subtitle, in list order, into `stream`: draws
// subtitle i with `draw(i)`, encodes it with the role colours captured at
// the start, and appends its packet. Throws OutputFileError on a file
// failure and SubtitleError for a subtitle that cannot become a valid packet.
void WriteSubpictureStream(PendingFile& stream, int count, const RoleKeyColours& keys,
                           const std::function<DrawnSubtitle(int index)>& draw);

}  // namespace tesmora
