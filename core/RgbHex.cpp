#include "core/RgbHex.h"

#include <cstdio>

namespace tesmora {

std::string RgbHex(const Rgb& colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x%02x%02x", colour.r, colour.g, colour.b);
  return text;
}

}  // namespace tesmora
