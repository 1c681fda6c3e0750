#include "render/CueDrawing.h"

#include "render/StyledLineDrawing.h"

namespace tesmora {

QRect DrawCues(QImage& picture, const CuesLayout& layout, const SubtitleStyle& style,
               int outlineWidth, const RoleColours& colours, GlyphCache* glyphs) {
  QRect changed;
  for (const PlacedLine& placed : layout.lines) {
    changed |= DrawOutlinedPieces(picture, StyledLinePieces(*placed.line, style, placed.cell),
                                  outlineWidth, colours, glyphs);
  }
  return changed;
}

}  // namespace tesmora
