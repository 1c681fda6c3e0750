#pragma once

#include <QRect>
#include <vector>

#include "render/GlyphMask.h"

namespace tesmora {

class GlyphCache;

// The three masks an outlined line is drawn from, sharing one area so that
// their rows line up word for word: the glyphs, the 1-pixel ring round them
// (glyphs included) and the outline (ring included), `outlineWidth` - 1
// pixels wider than the ring, or the ring itself for a width of 0.
struct LineMasks {
  GlyphMask glyphs;
  GlyphMask ring;
  GlyphMask outline;
  // The masks' area cut to the picture; empty when the line misses it, and
  // then the masks are left empty too.
  QRect area;
};

// Draws the pieces' glyphs once and dilates them, for a picture covering
// `picture`. With a glyph cache the glyphs come from it (and the ones it
// lacks are added); without one the painter draws the text.
LineMasks OutlinedLineMasks(const std::vector<TextPiece>& pieces, const QRect& picture,
                            int outlineWidth, GlyphCache* glyphCache = nullptr);

}  // namespace tesmora
