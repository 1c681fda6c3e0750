#include "palette/Palette.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tesmora {
namespace {

std::uint8_t LowByte(long double value) {
  const long long rounded = std::llrintl(value);  // the default mode: nearest, halves to even
  return static_cast<std::uint8_t>(static_cast<unsigned long long>(rounded) & 0xFF);
}

std::uint8_t ClampedByte(long double value) {
  const long long rounded = std::llrintl(value);
  return static_cast<std::uint8_t>(std::clamp<long long>(rounded, 0, 255));
}

struct Channels {
  long double red;
  long double green;
  long double blue;
};

Channels Convert(std::uint8_t y, std::uint8_t cr, std::uint8_t cb) {
  const long double luma = y;
  const long double d = static_cast<int>(cr) - 128;
  const long double e = static_cast<int>(cb) - 128;
  return {luma + 1.402L * d, luma - 0.34414L * e - 0.71414L * d, luma + 1.772L * e};
}

}  // namespace

Rgb YCrCbToRgb(std::uint8_t y, std::uint8_t cr, std::uint8_t cb) {
  const Channels c = Convert(y, cr, cb);
  return {LowByte(c.red), LowByte(c.green), LowByte(c.blue)};
}

Rgb ClampedYCrCbToRgb(std::uint8_t y, std::uint8_t cr, std::uint8_t cb) {
  const Channels c = Convert(y, cr, cb);
  return {ClampedByte(c.red), ClampedByte(c.green), ClampedByte(c.blue)};
}

PaletteEntry PaletteEntryFromIfo(std::uint32_t value) {
  PaletteEntry entry;
  entry.reservedByte = static_cast<std::uint8_t>(value >> 24);
  entry.y = static_cast<std::uint8_t>(value >> 16);
  entry.cr = static_cast<std::uint8_t>(value >> 8);
  entry.cb = static_cast<std::uint8_t>(value);
  entry.rgb = YCrCbToRgb(entry.y, entry.cr, entry.cb);
  entry.shown = ClampedYCrCbToRgb(entry.y, entry.cr, entry.cb);
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(value));
  entry.hintText = hex;
  return entry;
}

Palette GenericPalette() {
  Palette palette;
  for (int n = 0; n < 16; ++n) {
    PaletteEntry& entry = palette[static_cast<std::size_t>(n)];
    if (n < 4) {
      const auto grey = static_cast<std::uint8_t>(85 * n);
      entry.rgb = {grey, grey, grey};
      entry.shown = entry.rgb;
      const std::string g = std::to_string(grey);
      entry.hintText = g + g + g;
    } else {
      entry.rgb = {0, 0, 0};
      entry.hintText = "000000";
    }
  }
  return palette;
}

RgbPalette ShownColours(const Palette& palette) {
  RgbPalette colours{};
  for (std::size_t n = 0; n < palette.size(); ++n) {
    colours[n] = palette[n].shown;
  }
  return colours;
}

}  // namespace tesmora
