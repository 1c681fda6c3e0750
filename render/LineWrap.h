#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "render/StyledLine.h"

namespace tesmora {

// The width of a styled line in pixels, as it would be drawn.
using StyledLineWidth = std::function<long long(const StyledLine&)>;

struct WrappedLine {
  std::vector<StyledLine> lines;  // top to bottom; none when a word is too wide
  QString tooWideWord;            // the first word that is too wide on a line of its own
};

// Breaks a line that is not narrower than `limit` at its spaces into lines
// that are. A line that is narrower comes back as it is. The fewest lines
// are used; among those, the layout whose widest line is narrowest, and
// among those the one with the smallest sum of squared line widths, the
// most even; a remaining tie goes to the shorter lines on top. A run of
// spaces where a line breaks is dropped; every other character keeps its
// style. Breaks go only at U+0020 spaces between words, never before the
// first word or after the last, and a line is assumed to grow no narrower
// when a word is added to it.
WrappedLine WrapLine(const StyledLine& line, long long limit, const StyledLineWidth& width);

}  // namespace tesmora
