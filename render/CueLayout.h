#pragma once

#include <QPoint>
#include <span>
#include <vector>

#include "render/EncodeArea.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"

namespace tesmora {

// A line of one of the cues drawn on a frame, its cell's top-left corner and
// the cell's height.
struct PlacedLine {
  const StyledLine* line;
  QPoint cell;
  int height = 0;
  // The style of the line's cue when it has its own; none: the frame's.
  const SubtitleStyle* style = nullptr;
};

// Where the lines of the cues shown together go, in drawing order, and the
// band of rows the encoder reads.
struct CuesLayout {
  std::vector<PlacedLine> lines;
  EncodeArea area;
};

// Places the cues shown on one key frame. A cue's own placement (1..9 as on
// a keypad) holds over the style's alignment; without one, it sits at the
// bottom. At the bottom, the last line of the block takes Line2's place of
// the two-line layout (its cell top -offsetOr rows below the cell bottom of
// the line above it, whose cell bottom is 40 + offset rows above the frame's
// bottom), each line above it one line step higher; a one-line cue stands
// in Line1's place, as over an empty Line2. The earliest cue is lowest, each
// later one stacks above it. A top block mirrors this: its first line's cell
// starts 40 + offset rows below the frame's top, the later cues below it. A
// middle block is centred vertically. The band runs from the first line's
// cell top (one row higher when that is odd) to 6 rows below the last line's
// cell; with blocks in several places it covers them all. With one cue of
// one or two lines this is exactly the two-line layout of PlaceSubtitle.
CuesLayout PlaceCues(std::span<const PreparedCue> cues, const SubtitleStyle& style,
                     int frameHeight);

// Whether every placed line with text lies within the rows of a frame
// `frameHeight` rows high, so that none of it is cut off: its cell starts at
// or below the frame's top, and its baseline (the cell's bottom less the
// style font's descent) is at or above the frame's bottom.
bool LinesInsideFrame(const CuesLayout& layout, const SubtitleStyle& style, int frameHeight);

}  // namespace tesmora
