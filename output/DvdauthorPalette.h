#pragma once

#include <string>

#include "core/RgbHex.h"

namespace tesmora {

// The palette file dvdauthor reads with -p or palette= (NAME.rgb): one line
// of six hex digits for each of the 16 entries, in entry order. The .rgb
// extension tells dvdauthor the lines hold RGB, which it converts to YCrCb
// itself.
std::string DvdauthorPaletteText(const RgbPalette& palette);

}  // namespace tesmora
