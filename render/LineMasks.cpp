#include "render/LineMasks.h"

#include <algorithm>

namespace tesmora {

LineMasks OutlinedLineMasks(const std::vector<TextPiece>& pieces, const QRect& picture,
                            int outlineWidth, GlyphCache* glyphCache) {
  const int reach = std::max(outlineWidth, 1);
  LineMasks masks;
  const QRect limit = picture.adjusted(-reach, -reach, reach, reach);
  masks.glyphs = glyphCache != nullptr ? DrawTextMask(pieces, limit, reach, *glyphCache)
                                       : DrawTextMask(pieces, limit, reach);
  masks.area = masks.glyphs.area().intersected(picture);
  if (masks.area.isEmpty()) {
    return masks;
  }
  masks.ring = Dilate(masks.glyphs, 1);
  masks.outline = outlineWidth >= 1 ? Dilate(masks.ring, outlineWidth - 1) : masks.ring;
  return masks;
}

}  // namespace tesmora
