#include "pgs/ShownIntervals.h"

#include <algorithm>
#include <numeric>

#include "pgs/StreamWriter.h"

namespace tesmora::pgs {

std::vector<ShownInterval> SplitIntoShownIntervals(std::span<const TimedPicture> pictures) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (pictures[i].end > pictures[i].start) {
      order.push_back(i);
    }
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return pictures[a].start < pictures[b].start;
  });

  std::vector<ShownInterval> intervals;
  std::vector<std::size_t> active;  // in order of start
  std::size_t next = 0;
  std::int64_t now = order.empty() ? 0 : pictures[order.front()].start;
  while (next < order.size() || !active.empty()) {
    if (active.empty()) {
      now = std::max(now, pictures[order[next]].start);
    }
    while (next < order.size() && pictures[order[next]].start <= now) {
      active.push_back(order[next++]);
    }
    // The interval lasts until a shown picture ends or another starts.
    std::int64_t until = pictures[active.front()].end;
    for (const std::size_t i : active) {
      until = std::min(until, pictures[i].end);
    }
    if (next < order.size()) {
      until = std::min(until, pictures[order[next]].start);
    }
    ShownInterval interval{now, until, static_cast<int>(active.back()) + 1, {}, true};
    for (const std::size_t i : active) {
      for (const PlacedPicture& region : pictures[i].regions) {
        interval.regions.push_back(&region);
      }
      interval.forced = interval.forced && pictures[i].forced;
    }
    intervals.push_back(std::move(interval));
    now = until;
    std::erase_if(active, [&](std::size_t i) { return pictures[i].end <= now; });
  }
  return intervals;
}

}  // namespace tesmora::pgs
