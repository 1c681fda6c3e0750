#include "render/CueDrawing.h"

namespace tesmora {

QRect DrawCues(QImage& picture, const CuesLayout& layout, const SubtitleStyle& style,
               int outlineWidth, const RoleColours& colours, GlyphCache* glyphs) {
  return DrawPlacedLines(layout, style, [&](const std::vector<TextPiece>& pieces) {
    return DrawOutlinedPieces(picture, pieces, outlineWidth, colours, glyphs);
  });
}

}  // namespace tesmora
