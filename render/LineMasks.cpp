#include "render/LineMasks.h"

#include <algorithm>

namespace tesmora {

LineMasks OutlinedLineMasks(const std::vector<TextPiece>& pieces, const QRect& picture,
                            int outlineWidth) {
  const int reach = std::max(outlineWidth, 1);
  LineMasks masks;
  masks.glyphs = DrawTextMask(pieces, picture.adjusted(-reach, -reach, reach, reach), reach);
  masks.area = masks.glyphs.area().intersected(picture);
  if (masks.area.isEmpty()) {
    return masks;
  }
  masks.ring = Dilate(masks.glyphs, 1);
  masks.outline = outlineWidth >= 1 ? Dilate(masks.ring, outlineWidth - 1) : masks.ring;
  return masks;
}

}  // namespace tesmora
