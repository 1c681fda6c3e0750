#pragma once

#include <QImage>
#include <QRect>

#include <vector>

#include "render/CueLayout.h"
#include "render/OutlinedLine.h"
#include "render/StyledLineDrawing.h"
#include "render/SubtitleStyle.h"

namespace tesmora {

// Calls drawLine(pieces) for each placed line in order, with the pieces its
// styled runs are drawn in, and returns the union of the rectangles it
// returns: what drawing the cues changed, on whatever kind of frame.
template <class DrawLine>
QRect DrawPlacedLines(const CuesLayout& layout, const SubtitleStyle& style, DrawLine&& drawLine) {
  QRect changed;
  for (const PlacedLine& placed : layout.lines) {
    changed |=
        drawLine(StyledLinePieces(*placed.line, placed.style ? *placed.style : style, placed.cell));
  }
  return changed;
}

// Draws the placed lines in order, each as its styled runs with their rings,
// on a 24-bit picture, clipped to it. Returns the smallest rectangle that
// holds every pixel it changed; empty when it changed none. Glyphs come from
// `glyphs` where given.
QRect DrawCues(QImage& picture, const CuesLayout& layout, const SubtitleStyle& style,
               int outlineWidth, const RoleColours& colours, GlyphCache* glyphs = nullptr);

}  // namespace tesmora
