#pragma once

#include <QRect>
#include <vector>

#include "render/CodeFrame.h"
#include "render/CueLayout.h"
#include "render/GlyphMask.h"
#include "render/OutlinedLine.h"
#include "render/PixelCode.h"
#include "render/RoleInks.h"
#include "render/SubtitleStyle.h"

namespace tesmora {

// The inks of the drawing colours on a code frame whose codes the encoder
// takes from `keys` (AssignRoleInks).
RoleInks InksOfRoleColours(const RoleColours& colours, const RoleKeyColours& keys);

// Draws a line in pieces with its rings on a code frame, clipped to it: where
// the line's outline mask is set, the pixel takes the Text ink on the glyphs,
// the Antialias ink on the rest of the 1-pixel ring and the Outline ink
// elsewhere, whatever an earlier line left there. This is DrawOutlinedPieces
// on a key frame with each ink standing for its colour; it returns the same
// rectangle of changed pixels.
QRect DrawOutlinedPieces(CodeFrame& frame, const std::vector<TextPiece>& pieces, int outlineWidth,
                         const RoleInks& inks, GlyphCache* glyphCache = nullptr);

// Draws the placed lines in order on a code frame, as DrawCues does on a key
// frame, and returns the same rectangle of changed pixels.
QRect DrawCues(CodeFrame& frame, const CuesLayout& layout, const SubtitleStyle& style,
               int outlineWidth, const RoleInks& inks, GlyphCache* glyphCache = nullptr);

}  // namespace tesmora
