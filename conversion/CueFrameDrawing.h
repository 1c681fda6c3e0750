#pragma once

#include <vector>

#include "conversion/ParallelUnits.h"
#include "render/OutlinedLine.h"
#include "render/PixelCode.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"
#include "sup/SupPacket.h"

namespace tesmora {

// How every subpicture of a generation run is drawn: how the cues' text is
// read, the style, the outline width, the roles' drawing colours, the key
// colours the encoder tells them by, their palette entries and the frame
// height (576 PAL, 480 NTSC).
struct CueFrameLook {
  TextSource source;
  SubtitleStyle style;
  int outlineWidth = 3;
  RoleColours colours;
  RoleKeyColours keys;
  RolePaletteIndices roles;
  int frameHeight = 576;
};

// Makes the drawing step of one worker of a run over `cues`: each drawing
// has a code frame of its own and draws on it the cues a subpicture shows,
// earliest first; the frame encodes to the bytes of the key frame drawn in
// the look's colours, which only the preview needs. `cues` is read, never changed, by every worker
// at once and must outlive the run.
DrawingFactory CueFrameDrawings(const std::vector<SubtitleEntry>& cues, const CueFrameLook& look);

}  // namespace tesmora
