#include "render/OutlinedLine.h"

#include <algorithm>
#include <bit>

#include "render/LineMasks.h"

namespace tesmora {

QRect DrawOutlinedLine(QImage& picture, const QString& text, const QFont& font, QPoint cell,
                       int outlineWidth, const RoleColours& colours, GlyphCache* glyphs) {
  return DrawOutlinedPieces(picture, {{text, font, cell}}, outlineWidth, colours, glyphs);
}

QRect DrawOutlinedPieces(QImage& picture, const std::vector<TextPiece>& pieces, int outlineWidth,
                         const RoleColours& colours, GlyphCache* glyphCache) {
  Q_ASSERT(picture.format() == QImage::Format_RGB888);
  const LineMasks masks = OutlinedLineMasks(pieces, picture.rect(), outlineWidth, glyphCache);
  const QRect& area = masks.area;
  if (area.isEmpty()) {
    return {};
  }
  const GlyphMask& glyphs = masks.glyphs;
  const GlyphMask& ring = masks.ring;
  const GlyphMask& outline = masks.outline;

  // The last pass to touch a pixel decides its colour: Text over Antialias
  // over Outline. The outline mask covers the other two.
  const int left = glyphs.area().left();
  const int firstWord = (area.left() - left) / 64;
  const int lastWord = (area.right() - left) / 64;
  QRect changed;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const std::uint64_t* outer = outline.row(y);
    const std::uint64_t* inner = ring.row(y);
    const std::uint64_t* core = glyphs.row(y);
    uchar* line = picture.scanLine(y);
    int rowLeft = area.right() + 1;
    int rowRight = area.left() - 1;
    for (int w = firstWord; w <= lastWord; ++w) {
      for (std::uint64_t bits = outer[w]; bits != 0; bits &= bits - 1) {
        const int bit = std::countr_zero(bits);
        const int x = left + w * 64 + bit;
        if (x < area.left() || x > area.right()) {
          continue;
        }
        const std::uint64_t mask = std::uint64_t{1} << bit;
        const QRgb colour = (core[w] & mask) != 0    ? colours.text
                            : (inner[w] & mask) != 0 ? colours.antialias
                                                     : colours.outline;
        uchar* pixel = line + x * 3;
        pixel[0] = static_cast<uchar>(qRed(colour));
        pixel[1] = static_cast<uchar>(qGreen(colour));
        pixel[2] = static_cast<uchar>(qBlue(colour));
        rowLeft = std::min(rowLeft, x);
        rowRight = std::max(rowRight, x);
      }
    }
    if (rowLeft <= rowRight) {
      changed |= QRect(QPoint(rowLeft, y), QPoint(rowRight, y));
    }
  }
  return changed;
}

}  // namespace tesmora
