#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Rgb.h"
#include "core/RgbHex.h"

namespace tesmora {

// One entry of a subtitle palette: the IFO's bytes, the colour they stand
// for, and the tooltip of the entry's swatch.
struct PaletteEntry {
  std::uint8_t reservedByte = 0;
  std::uint8_t y = 0;
  std::uint8_t cr = 0;
  std::uint8_t cb = 0;
  Rgb rgb;
  std::string hintText;
  // The colour a player shows for the entry: like `rgb`, but each channel
  // held to 0 ... 255 instead of wrapped. Palette files for other programs
  // carry this one.
  Rgb shown;
};

// The 16 entries a subpicture's colour command chooses from.
using Palette = std::array<PaletteEntry, 16>;

// The colour of a YCrCb triple: R = Y + 1.402 d, G = Y - 0.34414 e -
// 0.71414 d, B = Y + 1.772 e with d = Cr - 128 and e = Cb - 128, in extended
// precision, rounded to the nearest integer (halves to even), and not
// clamped: each byte is the low 8 bits of its value.
Rgb YCrCbToRgb(std::uint8_t y, std::uint8_t cr, std::uint8_t cb);

// The same conversion with each channel held to 0 ... 255, as a player
// shows a YCrCb triple outside the RGB cube.
Rgb ClampedYCrCbToRgb(std::uint8_t y, std::uint8_t cr, std::uint8_t cb);

// An IFO palette entry from its big-endian 32-bit value (reserved, Y, Cr,
// Cb), with its colours and the value as 8 upper-case hex digits as tooltip.
PaletteEntry PaletteEntryFromIfo(std::uint32_t value);

// The generic palette for discs without one: greys 0, 85, 170 and 255 in
// entries 0 to 3, black in the rest.
Palette GenericPalette();

// The colours a player shows for the palette's entries, which the files
// for other programs carry.
RgbPalette ShownColours(const Palette& palette);

// The entry numbers the generic palette's roles start with.
inline constexpr int kGenericBackground = 0;
inline constexpr int kGenericText = 3;
inline constexpr int kGenericOutline = 0;
inline constexpr int kGenericAntialias = 1;

}  // namespace tesmora
