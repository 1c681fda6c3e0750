#pragma once

#include <array>
#include <cstdint>

#include "render/FrameBitmap.h"
#include "render/PixelCode.h"

namespace tesmora {

// The inks of a CodeFrame that the three roles are drawn in, and the code of
// each ink.
struct RoleInks {
  std::uint8_t outline = 0;
  std::uint8_t antialias = 0;
  std::uint8_t text = 0;
  std::array<PixelCode, 4> codes{PixelCode::Background, PixelCode::Text, PixelCode::Outline,
                                 PixelCode::Antialias};
};

// Gives every distinct colour among the roles' its own ink, and each ink the
// code the 24-bit encoder gives its colour (ClassifyPixel with `keys`). Pure
// blue is ink 0; a colour the keys give a code other than Background takes
// that code as its ink; colours that are neither (they encode as Background
// but still break runs on a key frame) take the inks left over.
RoleInks AssignRoleInks(Rgb outline, Rgb antialias, Rgb text, const RoleKeyColours& keys);

}  // namespace tesmora
