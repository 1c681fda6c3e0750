#include "render/OutlinedLine.h"

#include <algorithm>
#include <bit>

#include "render/GlyphMask.h"

namespace tesmora {
namespace {

void PutPixel(uchar* pixel, QRgb colour) {
  pixel[0] = static_cast<uchar>(qRed(colour));
  pixel[1] = static_cast<uchar>(qGreen(colour));
  pixel[2] = static_cast<uchar>(qBlue(colour));
}

}  // namespace

void DrawOutlinedLine(QImage& picture, const QString& text, const QFont& font, QPoint cell,
                      int outlineWidth, const RoleColours& colours) {
  Q_ASSERT(picture.format() == QImage::Format_RGB888);
  const int reach = std::max(outlineWidth, 1);
  const QRect frame = picture.rect();
  const GlyphMask glyphs =
      DrawTextMask(text, font, cell, frame.adjusted(-reach, -reach, reach, reach));
  if (glyphs.area().isEmpty()) {
    return;
  }
  const GlyphMask ring = Dilate(glyphs, 1);
  // Every pixel the passes touch: the outline reaches furthest, unless the
  // outline width is 0 and the antialias ring does.
  const GlyphMask outline = outlineWidth >= 1 ? Dilate(ring, outlineWidth - 1) : ring;

  // The last pass to touch a pixel decides its colour: Text over Antialias
  // over Outline.
  const QRect area = outline.area().intersected(frame);
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const std::uint64_t* words = outline.row(y);
    uchar* line = picture.scanLine(y);
    for (int w = 0; w < outline.wordsPerRow(); ++w) {
      for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1) {
        const int x = outline.area().left() + w * 64 + std::countr_zero(bits);
        if (x < area.left() || x > area.right()) {
          continue;
        }
        const QRgb colour = glyphs.test(x, y) ? colours.text
                            : ring.test(x, y) ? colours.antialias
                                              : colours.outline;
        PutPixel(line + x * 3, colour);
      }
    }
  }
}

}  // namespace tesmora
