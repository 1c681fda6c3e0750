#pragma once

#include <array>
#include <string>

#include "core/Rgb.h"

namespace tesmora {

// The colours of the 16 palette entries a subpicture's colour command
// chooses from, in entry order.
using RgbPalette = std::array<Rgb, 16>;

// "rrggbb": a colour as six lower-case hex digits, the way palette files of
// DVD authoring tools write it.
std::string RgbHex(const Rgb& colour);

}  // namespace tesmora
