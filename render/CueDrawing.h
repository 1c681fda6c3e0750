#pragma once

#include <QImage>
#include <QRect>

#include "render/CueLayout.h"
#include "render/OutlinedLine.h"
#include "render/SubtitleStyle.h"

namespace tesmora {

// Draws the placed lines in order, each as its styled runs with their rings,
// on a 24-bit picture, clipped to it. Returns the smallest rectangle that
// holds every pixel it changed; empty when it changed none. Glyphs come from
// `glyphs` where given.
QRect DrawCues(QImage& picture, const CuesLayout& layout, const SubtitleStyle& style,
               int outlineWidth, const RoleColours& colours, GlyphCache* glyphs = nullptr);

}  // namespace tesmora
