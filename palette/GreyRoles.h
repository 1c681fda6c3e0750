#pragma once

#include <optional>

#include "palette/Palette.h"

namespace tesmora {

// The first neutral grey (Cr and Cb exactly 0x80) of each brightness band:
// dark (Y 0-70) for Background and Outline, middle (71-200) for Antialias,
// light (201-255) for Text.
struct GreyRoles {
  std::optional<int> dark;
  std::optional<int> middle;
  std::optional<int> light;

  // A palette can carry subtitles when every band has its grey.
  bool polychromatic() const { return dark && middle && light; }
};

// Looks at entries 0 to 15 in order; the first grey of a band closes it.
// The test reads the entry's tooltip text (its 8 hex digits).
GreyRoles PickGreyRoles(const Palette& palette);

}  // namespace tesmora
