#include "palette/GreyRoles.h"

#include <string>

namespace tesmora {
namespace {

constexpr int kDarkTop = 70;
constexpr int kMiddleTop = 200;

}  // namespace

GreyRoles PickGreyRoles(const Palette& palette) {
  GreyRoles roles;
  for (int n = 0; n < 16; ++n) {
    const std::string& hint = palette[static_cast<std::size_t>(n)].hintText;
    if (hint.size() != 8 || hint.compare(4, 4, "8080") != 0) {
      continue;
    }
    const int y = std::stoi(hint.substr(2, 2), nullptr, 16);
    std::optional<int>& band = y <= kDarkTop     ? roles.dark
                               : y <= kMiddleTop ? roles.middle
                                                 : roles.light;
    if (!band) {
      band = n;
    }
  }
  return roles;
}

}  // namespace tesmora
