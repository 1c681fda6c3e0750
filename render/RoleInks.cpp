#include "render/RoleInks.h"

namespace tesmora {

RoleInks AssignRoleInks(Rgb outline, Rgb antialias, Rgb text, const RoleKeyColours& keys) {
  const std::array<Rgb, 3> colours{outline, antialias, text};
  std::array<std::uint8_t, 3> inks{};
  std::array<bool, 4> taken{true, false, false, false};
  RoleInks result;
  // Key colours first, so that a colour without a code cannot take the ink
  // a key colour needs.
  for (std::size_t role = 0; role < colours.size(); ++role) {
    const PixelCode code = ClassifyPixel(colours[role], keys);
    if (code != PixelCode::Background) {
      inks[role] = static_cast<std::uint8_t>(code);
      taken[inks[role]] = true;
    }
  }
  for (std::size_t role = 0; role < colours.size(); ++role) {
    if (colours[role] == kPureBlue || ClassifyPixel(colours[role], keys) != PixelCode::Background) {
      continue;
    }
    std::uint8_t ink = 0;
    for (std::size_t earlier = 0; earlier < role && ink == 0; ++earlier) {
      ink = colours[earlier] == colours[role] ? inks[earlier] : std::uint8_t{0};
    }
    for (std::uint8_t free = 1; free < taken.size() && ink == 0; ++free) {
      ink = taken[free] ? std::uint8_t{0} : free;
    }
    // At most three distinct colours besides blue, so a free ink is left.
    inks[role] = ink;
    taken[ink] = true;
    result.codes[ink] = PixelCode::Background;
  }
  result.outline = inks[0];
  result.antialias = inks[1];
  result.text = inks[2];
  return result;
}

}  // namespace tesmora
