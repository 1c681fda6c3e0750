#include "output/DvdauthorPalette.h"

namespace tesmora {

std::string DvdauthorPaletteText(const RgbPalette& palette) {
  std::string text;
  for (const Rgb& colour : palette) {
    text += RgbHex(colour) + '\n';
  }
  return text;
}

}  // namespace tesmora
