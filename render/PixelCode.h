#pragma once

#include <cstdint>

#include "render/FrameBitmap.h"

namespace tesmora {

// The 2-bit value of a subpicture pixel; the unit's colour command gives each
// code its palette entry.
enum class PixelCode : std::uint8_t {
  Background = 0,
  Text = 1,
  Outline = 2,
  Antialias = 3,
};

// The colours of the three drawn roles, captured once per generation run.
// Background has no key colour: it is recognised by pure blue.
struct RoleKeyColours {
  Rgb text;
  Rgb outline;
  Rgb antialias;
};

// A colour as one number (red in the low byte), for comparing in one step.
constexpr std::uint32_t PackRgb(Rgb colour) {
  return static_cast<std::uint32_t>(colour.r) | static_cast<std::uint32_t>(colour.g) << 8 |
         static_cast<std::uint32_t>(colour.b) << 16;
}

// The role colours packed once, for classifying many pixels.
struct PackedKeys {
  explicit constexpr PackedKeys(const RoleKeyColours& keys)
      : text(PackRgb(keys.text)),
        outline(PackRgb(keys.outline)),
        antialias(PackRgb(keys.antialias)) {}

  std::uint32_t text;
  std::uint32_t outline;
  std::uint32_t antialias;
};

// Maps a packed pixel to its code. The roles are tried in a fixed order and
// the last match decides: Antialias, then Outline, then Text, then pure blue.
// So when roles share a colour, Text wins over Outline and Outline over
// Antialias; pure blue and every colour that is no role colour are Background.
constexpr PixelCode ClassifyPacked(std::uint32_t pixel, const PackedKeys& keys) {
  unsigned code = 0;
  code = pixel == keys.antialias ? 3u : code;
  code = pixel == keys.outline ? 2u : code;
  code = pixel == keys.text ? 1u : code;
  code = pixel == PackRgb(kPureBlue) ? 0u : code;
  return static_cast<PixelCode>(code);
}

constexpr PixelCode ClassifyPixel(Rgb pixel, const RoleKeyColours& keys) {
  return ClassifyPacked(PackRgb(pixel), PackedKeys(keys));
}

}  // namespace tesmora
