#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>
#include <vector>

#include "render/GlyphCache.h"
#include "render/GlyphMask.h"

namespace tesmora {

// The colours a subtitle line is drawn in, from outside in.
struct RoleColours {
  QRgb outline = 0;
  QRgb antialias = 0;
  QRgb text = 0;
};

// Draws one line with its rings on a 24-bit picture (QImage::Format_RGB888),
// clipped to the picture. The result is that of stamping the text in the
// Outline colour at every offset up to `outlineWidth` in x and y, then in
// the Antialias colour at every offset up to 1, then once in the Text
// colour; it is built from one drawing of the text and two dilations of it.
// Returns the smallest rectangle that holds every pixel it changed; empty when
// it changed none. Glyphs come from `glyphs` where given, else are drawn
// afresh.
QRect DrawOutlinedLine(QImage& picture, const QString& text, const QFont& font, QPoint cell,
                       int outlineWidth, const RoleColours& colours, GlyphCache* glyphs = nullptr);

// The same for a line drawn in pieces of different fonts: the rings go round
// the ink of all the pieces together, as when each stamping draws every
// piece.
QRect DrawOutlinedPieces(QImage& picture, const std::vector<TextPiece>& pieces, int outlineWidth,
                         const RoleColours& colours, GlyphCache* glyphs = nullptr);

}  // namespace tesmora
