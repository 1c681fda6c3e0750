#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "text/StyledLine.h"

namespace tesmora {

// The width of a styled line in pixels, as it would be drawn.
using StyledLineWidth = std::function<long long(const StyledLine&)>;

struct WrappedLine {
  // Top to bottom; none when a word is too wide or the line would need more
  // than the lines allowed.
  std::vector<StyledLine> lines;
  QString tooWideWord;  // the first word that is too wide on a line of its own
  bool tooManyLines = false;
};

// Breaks a line that is not narrower than `limit` into lines that are, at
// the opportunities the Unicode line breaking rules give (LineWords): after
// spaces, between ideographs, after hyphens. A line that is narrower comes
// back as it is. The fewest lines are used; among those, the layout whose
// widest line is narrowest, and among those the one with the smallest sum
// of squared line widths, the most even; a remaining tie goes to the shorter
// lines on top. A run of spaces where a line breaks is dropped; every other
// character keeps its style. A line never breaks before its first word or
// after its last, and is assumed to grow no narrower when a word is added
// to it.
// A line that needs more than `maxLines` lines is not broken: it is found
// so by filling lines one after the other, which stops at once (finding
// the opportunities is linear in the line's length), and the work for a
// line that is broken grows with its words times `maxLines`.
// Before that, the first word too wide on its own in those lines is named.
WrappedLine WrapLine(const StyledLine& line, long long limit, const StyledLineWidth& width,
                     std::size_t maxLines);

}  // namespace tesmora
