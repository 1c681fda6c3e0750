#pragma once

#include <QGlyphRun>
#include <QList>
#include <optional>

#include "render/GlyphMask.h"

namespace tesmora {

// The glyphs a painter draws for the piece, shaped once: runs of one font
// each, with every glyph's pen position on the baseline in picture
// coordinates. None when the piece is drawn otherwise than glyph by glyph
// (underline and strike-out run along the advance, large glyphs are filled
// as one path) or its layout could differ from the painter's own (text
// reordered right to left, control characters), and when no installed font
// covers some of its text, which the painter draws as boxes.
std::optional<QList<QGlyphRun>> PieceGlyphs(const TextPiece& piece);

}  // namespace tesmora
