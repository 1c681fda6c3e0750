#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include "render/EncodeArea.h"
#include "render/LineMeasure.h"

namespace tesmora {

inline constexpr int kFrameWidth = 720;
// A line fits the frame when it is narrower than this.
inline constexpr int kLineLimit = 680;

// Where a subtitle's two lines go on a frame, and the band of rows the
// encoder reads.
struct SubtitleLayout {
  QPoint cell1;  // top-left corner of Line1's text cell
  QPoint cell2;
  EncodeArea area;
};

// Places both lines: `align` "center", "left" or anything else for right;
// Line1's cell bottom 40 + offset rows above the frame's bottom; Line2's cell
// top -offsetOr rows below Line1's cell bottom. The band starts at Line1's
// cell top (one row higher when that is odd) and ends 6 rows below Line2's
// cell; it is not cut to the frame.
// The left edge of a line `width` pixels wide: centred for "center", 8 pixels
// from the left for "left", 8 from the right for anything else.
int LineLeft(const QString& align, int width);

SubtitleLayout PlaceSubtitle(const LineMeasure& line1, const LineMeasure& line2,
                             const QString& align, int offset, int offsetOr, int frameHeight);

// The band widened to hold every row of `ink`, the rows a drawing changed:
// it starts at the ink's first row (one row higher when that is odd) when
// that lies above the band, and ends at the ink's last row when that lies
// below it. Ink within the band leaves it as it is.
EncodeArea BandHoldingInk(const EncodeArea& band, const QRect& ink);

}  // namespace tesmora
