#pragma once

#include <QFont>
#include <QPoint>
#include <vector>

#include "render/GlyphMask.h"
#include "render/LineMeasure.h"
#include "render/SubtitleStyle.h"
#include "text/StyledLine.h"

namespace tesmora {

// The font a run is drawn in: the style chosen for all subtitles, with the
// run's own flags added (bold chosen and an italic run give bold italic).
QFont RunFont(const SubtitleStyle& style, const TextRun& run);

// A styled line measured as drawn: the widths of its runs, each in its own
// font, added up, and the tallest of their cells. A line of one run measures
// as that text in that font; a line without text as one blank of the style's
// font. A line holding right-to-left text measures as the one paragraph it
// is drawn as. Characters a run's face lacks count in the face of its family
// that draws them.
LineMeasure MeasureStyledLine(const StyledLine& line, const SubtitleStyle& style);

// The pieces a styled line is drawn in, its cell's top-left corner at
// `cell`: each run in its font, starting where the one before it ends. A
// line holding right-to-left text is one piece, laid out as one bidi
// paragraph with each run's font applied to its range, so that the runs sit
// where the bidi algorithm puts them. Characters a run's face lacks are
// drawn in the face of its family that has them.
std::vector<TextPiece> StyledLinePieces(const StyledLine& line, const SubtitleStyle& style,
                                        QPoint cell);

}  // namespace tesmora
