#pragma once

#include <optional>

namespace tesmora {

// The band of frame rows that holds one drawn subtitle: rows FirstLine to
// FirstLine + LineCount - 1. The rasteriser keeps FirstLine even so that the
// band starts with a top-field row.
struct EncodeArea {
  int firstLine = 0;
  int lineCount = 1;

  int lastLine() const { return firstLine + lineCount - 1; }

  friend bool operator==(const EncodeArea&, const EncodeArea&) = default;
};

// The part of `area` that lies inside a frame of `frameHeight` rows: a band
// that starts above the frame begins at row 0, one that runs past the bottom
// ends at the last row. Empty when no row of the band is inside the frame.
std::optional<EncodeArea> CutToFrame(const EncodeArea& area, int frameHeight);

}  // namespace tesmora
