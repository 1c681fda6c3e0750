#include "render/KeyFrameRenderer.h"

#include "render/CueDrawing.h"
#include "render/CueLayout.h"
#include "render/SubtitleLayout.h"

namespace tesmora {

QImage KeyFrameRenderer::image() {
  return QImage(frame_.row(0), FrameBitmap::kWidth, frame_.height(), FrameBitmap::kStride,
                QImage::Format_RGB888);
}

void KeyFrameRenderer::clearFrame(int frameHeight) {
  if (frame_.height() != frameHeight) {
    frame_ = FrameBitmap(frameHeight);
  } else {
    frame_.fillRows(drawn_.top(), drawn_.bottom(), kPureBlue);
  }
  drawn_ = QRect();
}

EncodeArea KeyFrameRenderer::render(std::span<const CueToDraw> cues, const TextSource& source,
                                    const SubtitleStyle& style, int outlineWidth,
                                    const RoleColours& colours, int frameHeight) {
  clearFrame(frameHeight);
  const std::vector<PreparedCue> prepared = PrepareCues(cues, source, style, frameHeight);
  const CuesLayout layout = PlaceCues(prepared, style, frameHeight);
  // A second image over the same bytes: drawing on a shared one would detach
  // it and draw on a copy.
  QImage canvas = image();
  drawn_ = DrawCues(canvas, layout, style, outlineWidth, colours, &glyphs_);
  return BandHoldingInk(layout.area, drawn_);
}

}  // namespace tesmora
