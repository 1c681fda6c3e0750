#include "hdrender/ForcedRegions.h"

#include <algorithm>

namespace tesmora {
namespace {

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;  // one past the last column
  int bottom = 0;
};

Box BoxOf(const RgbaRegion& region) {
  return {region.x, region.y, region.x + region.width, region.y + region.height};
}

bool Meet(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

ForcedMarks MarkForcedRegions(const std::vector<RgbaRegion>& regions,
                              const std::vector<RgbaRegion>& forcedAlone) {
  ForcedMarks marks;
  marks.forced.assign(regions.size(), false);
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const Box region = BoxOf(regions[i]);
    bool met = false;
    Box reach{};
    for (const RgbaRegion& alone : forcedAlone) {
      const Box box = BoxOf(alone);
      if (!Meet(region, box)) {
        continue;
      }
      reach = met ? Box{std::min(reach.left, box.left), std::min(reach.top, box.top),
                        std::max(reach.right, box.right), std::max(reach.bottom, box.bottom)}
                  : box;
      met = true;
    }
    if (!met) {
      continue;
    }
    marks.forced[i] = true;
    if (region.left < reach.left || region.top < reach.top || region.right > reach.right ||
        region.bottom > reach.bottom) {
      marks.mixed = true;
    }
  }
  return marks;
}

}  // namespace tesmora
