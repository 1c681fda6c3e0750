#include "render/CodeFrameRenderer.h"

#include "render/CodeFrameDrawing.h"
#include "render/CueLayout.h"
#include "render/SubtitleLayout.h"

namespace tesmora {

EncodeArea CodeFrameRenderer::render(std::span<const CueToDraw> cues, const TextSource& source,
                                     const SubtitleStyle& style, int outlineWidth,
                                     const RoleInks& inks, int frameHeight) {
  if (frame_.height() != frameHeight) {
    frame_ = CodeFrame(frameHeight);
  } else {
    frame_.clearRows(drawn_.top(), drawn_.bottom());
  }
  drawn_ = QRect();
  frame_.setInkCodes(inks.codes);
  const std::vector<PreparedCue> prepared = PrepareCues(cues, source, style, frameHeight);
  const CuesLayout layout = PlaceCues(prepared, style, frameHeight);
  drawn_ = DrawCues(frame_, layout, style, outlineWidth, inks, &glyphs_);
  return BandHoldingInk(layout.area, drawn_);
}

}  // namespace tesmora
