#include "timing/CueTimes.h"

#include <algorithm>
#include <numeric>

namespace tesmora {

std::vector<CueTime> CueTimesOf(const std::vector<SubtitleEntry>& entries) {
  std::vector<CueTime> times;
  times.reserve(entries.size());
  for (const SubtitleEntry& entry : entries) {
    times.push_back({entry.startMs, entry.startMs + entry.durationMs});
  }
  return times;
}

std::vector<std::size_t> TimeOrder(const std::vector<CueTime>& cues) {
  std::vector<std::size_t> order(cues.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&cues](std::size_t a, std::size_t b) {
    return cues[a].startMs < cues[b].startMs;
  });
  return order;
}

}  // namespace tesmora
