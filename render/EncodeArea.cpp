#include "render/EncodeArea.h"

#include <algorithm>

namespace tesmora {

std::optional<EncodeArea> CutToFrame(const EncodeArea& area, int frameHeight) {
  const long long first = std::max<long long>(area.firstLine, 0);
  const long long last =
      std::min<long long>(static_cast<long long>(area.firstLine) + area.lineCount - 1,
                          static_cast<long long>(frameHeight) - 1);
  if (area.lineCount < 1 || first > last) {
    return std::nullopt;
  }
  return EncodeArea{static_cast<int>(first), static_cast<int>(last - first + 1)};
}

}  // namespace tesmora
