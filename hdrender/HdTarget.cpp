#include "hdrender/HdTarget.h"

namespace tesmora {

std::optional<HdTarget> HdTargetForLines(int lines) {
  switch (lines) {
    case 1080:
      return HdTarget{1920, 1080};
    case 720:
      return HdTarget{1280, 720};
    case 576:
      return HdTarget{720, 576};
    case 480:
      return HdTarget{720, 480};
    default:
      return std::nullopt;
  }
}

long long FrameStartMs(const HdTarget& target, long long frame) {
  const long long scaled = frame * 1000 * target.rateDenominator;
  return (scaled + target.rateNumerator - 1) / target.rateNumerator;
}

long long FrameAtMs(const HdTarget& target, long long ms) {
  return ms * target.rateNumerator / (1000LL * target.rateDenominator);
}

}  // namespace tesmora
