#include "fuzz/TimelineCheck.h"

#include <algorithm>
#include <map>
#include <set>

#include "fuzz/FuzzRequire.h"
#include "sup/SubtitlePacket.h"

namespace tesmora::fuzz {
namespace {

constexpr long long kTicksPerMs = 90;
constexpr long long kUnit = 1024;                // ticks of one stop delay unit
constexpr long long kLargestStopDelay = 0xFFFF;  // units
constexpr long long kLatestStartMs = 47721858;   // the last ms a time stamp holds
constexpr long long kLatestTick = 0xFFFFFFFFLL;
constexpr long long kFarthestEndMs = 1'000'000'000'000LL;

// When a cue is visible, in ticks, [begin, end); not shown when it is too
// short and the next later start leaves no room for one unit.
struct ModelSpan {
  long long begin = 0;
  long long end = 0;
  bool shown = false;
  bool tooShort = false;
};

std::vector<ModelSpan> ModelSpans(const std::vector<CueTime>& cues) {
  std::vector<long long> starts;
  for (const CueTime& cue : cues) {
    starts.push_back(cue.startMs);
  }
  std::sort(starts.begin(), starts.end());
  std::vector<ModelSpan> spans;
  for (const CueTime& cue : cues) {
    ModelSpan span;
    span.begin = cue.startMs * kTicksPerMs;
    span.end = std::clamp(cue.endMs, cue.startMs, kFarthestEndMs) * kTicksPerMs;
    span.shown = true;
    if (span.end - span.begin < kUnit) {
      span.tooShort = true;
      span.end = span.begin + kUnit;
      const auto later = std::upper_bound(starts.begin(), starts.end(), cue.startMs);
      span.shown = later == starts.end() || *later * kTicksPerMs - span.begin >= kUnit;
    }
    spans.push_back(span);
  }
  return spans;
}

// Cue numbers (from 1) of the shown spans that share time with another.
std::vector<bool> ModelOverlaps(const std::vector<ModelSpan>& spans) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (spans[i].shown) {
      order.push_back(i);
    }
  }
  std::stable_sort(order.begin(), order.end(), [&spans](std::size_t a, std::size_t b) {
    return spans[a].begin < spans[b].begin;
  });
  std::vector<bool> overlapping(spans.size(), false);
  long long furthestEnd = -1;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const ModelSpan& span = spans[order[k]];
    const bool withEarlier = k > 0 && furthestEnd > span.begin;
    const bool withLater = k + 1 < order.size() && spans[order[k + 1]].begin < span.end;
    overlapping[order[k]] = withEarlier || withLater;
    furthestEnd = std::max(furthestEnd, span.end);
  }
  return overlapping;
}

void CheckReport(const std::vector<CueTime>& cues, const std::vector<ModelSpan>& spans,
                 const TimingReport& report) {
  int outOfOrder = 0;
  int firstOutOfOrder = 0;
  for (std::size_t i = 1; i < cues.size(); ++i) {
    if (cues[i].startMs < cues[i - 1].startMs && outOfOrder++ == 0) {
      firstOutOfOrder = static_cast<int>(i + 1);
    }
  }
  Require(report.outOfOrder == outOfOrder && report.firstOutOfOrder == firstOutOfOrder,
          "the cues out of order are counted from the first");
  int tooShort = 0;
  int firstTooShort = 0;
  int overlapping = 0;
  int firstOverlapping = 0;
  const std::vector<bool> overlaps = ModelOverlaps(spans);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (spans[i].tooShort && tooShort++ == 0) {
      firstTooShort = static_cast<int>(i + 1);
    }
    if (overlaps[i] && overlapping++ == 0) {
      firstOverlapping = static_cast<int>(i + 1);
    }
  }
  Require(report.tooShort == tooShort && report.firstTooShort == firstTooShort,
          "the cues too short are counted from the first");
  Require(report.overlapping == overlapping && report.firstOverlapping == firstOverlapping,
          "the overlapping cues are counted from the first");
  Require(
      std::is_sorted(report.dropped.begin(), report.dropped.end()) &&
          std::adjacent_find(report.dropped.begin(), report.dropped.end()) == report.dropped.end(),
      "the cues left out are listed once each, in order");
  for (const int number : report.dropped) {
    Require(number >= 1 && number <= static_cast<int>(cues.size()),
            "a cue left out is a cue of the list");
  }
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (!spans[i].shown) {
      Require(
          std::binary_search(report.dropped.begin(), report.dropped.end(), static_cast<int>(i + 1)),
          "a too short cue with no room is reported as left out");
    }
  }
}

void CheckSubpictures(const std::vector<CueTime>& cues, const std::vector<ModelSpan>& spans,
                      const Timeline& timeline) {
  const std::vector<Subpicture>& pictures = timeline.subpictures;
  // The times at which the visible cues change, with how many are visible
  // from each on.
  std::map<long long, int> changes;
  for (const ModelSpan& span : spans) {
    if (span.shown) {
      ++changes[span.begin];
      --changes[span.end];
    }
  }
  // How many cues are visible from each change on.
  std::map<long long, int> visibleFrom;
  int count = 0;
  for (const auto& [at, step] : changes) {
    count += step;
    visibleFrom[at] = count;
  }
  const auto cuesVisibleAt = [&spans](long long at) {
    std::vector<int> visible;
    for (std::size_t i = 0; i < spans.size(); ++i) {
      if (spans[i].shown && spans[i].begin <= at && at < spans[i].end) {
        visible.push_back(static_cast<int>(i));
      }
    }
    return visible;
  };
  const auto sorted = [](std::vector<int> numbers) {
    std::sort(numbers.begin(), numbers.end());
    return numbers;
  };
  std::vector<bool> drawn(cues.size(), false);
  std::set<long long> shownChanges;
  long long previousAt = 0;
  for (std::size_t k = 0; k < pictures.size(); ++k) {
    const Subpicture& picture = pictures[k];
    const long long start = picture.startTicks;
    const long long end = start + picture.stopDelayUnits * kUnit;
    Require(picture.stopDelayUnits > 0, "every subpicture is shown for a while");
    if (k + 1 < pictures.size()) {
      const long long next = pictures[k + 1].startTicks;
      Require(start < next, "subpictures start in time order");
      Require(end <= next, "no subpicture is shown past the next start");
      if (end < next) {
        const auto blank = std::find_if(visibleFrom.upper_bound(start), visibleFrom.end(),
                                        [](const auto& change) { return change.second == 0; });
        Require(blank != visibleFrom.end() && blank->first <= next,
                "the screen is blank between two subpictures only where no cue is visible");
      }
    }
    // The moment whose cues the subpicture draws: its start, or, for one
    // that starts where the one before is taken off, a change less than a
    // unit after that (the stretches between may be too short to show).
    long long at = start;
    const bool follows = k > 0 && start == static_cast<long long>(pictures[k - 1].startTicks) +
                                               pictures[k - 1].stopDelayUnits * kUnit;
    if (follows && sorted(picture.cues) != cuesVisibleAt(start)) {
      for (auto change = changes.upper_bound(start);
           change != changes.end() && change->first - start < kUnit; ++change) {
        if (sorted(picture.cues) == cuesVisibleAt(change->first)) {
          at = change->first;
          break;
        }
      }
    }
    // The changes whose stretch it shows: at its start, or, where it starts
    // where the one before is taken off, less than a unit later.
    for (auto change = changes.lower_bound(start);
         change != changes.end() &&
         (change->first == start || (follows && change->first - start < kUnit));
         ++change) {
      if (sorted(picture.cues) == cuesVisibleAt(change->first)) {
        shownChanges.insert(change->first);
      }
    }
    const auto nextChange = changes.upper_bound(at);
    Require(nextChange != changes.end() && end <= nextChange->first + kUnit / 2,
            "no subpicture is shown more than half a unit past the next change");
    Require(!picture.cues.empty(), "every subpicture draws a cue");
    Require(sorted(picture.cues) == cuesVisibleAt(at),
            "a subpicture draws every cue visible at its moment and no other");
    for (std::size_t c = 0; c < picture.cues.size(); ++c) {
      const int cue = picture.cues[c];
      Require(cue >= 0 && static_cast<std::size_t>(cue) < cues.size(),
              "a subpicture draws cues of the list");
      if (c > 0) {
        const int before = picture.cues[c - 1];
        Require(cues[before].startMs < cues[cue].startMs ||
                    (cues[before].startMs == cues[cue].startMs && before < cue),
                "a subpicture draws its cues earlier start first, then in list order");
      }
      drawn[cue] = true;
    }
    // A stretch longer than the largest delay is repeated: where the one
    // before had more than the largest delay left of its stretch, this is
    // its repeat, and starts on a whole millisecond.
    if (k > 0 && follows) {
      const auto stretchEnd = changes.upper_bound(previousAt);
      if (stretchEnd != changes.end() &&
          stretchEnd->first - static_cast<long long>(pictures[k - 1].startTicks) >=
              (kLargestStopDelay + 1) * kUnit) {
        Require(start % kTicksPerMs == 0, "a repeat starts on a whole millisecond");
      }
    }
    previousAt = at;
  }
  // Every stretch of one unit or more with something visible starts a
  // subpicture.
  int visible = 0;
  for (auto change = changes.begin(); change != changes.end(); ++change) {
    visible += change->second;
    const auto next = std::next(change);
    if (visible > 0 && next != changes.end() && next->first - change->first >= kUnit) {
      Require(shownChanges.count(change->first) != 0,
              "every stretch of a unit or more in which a cue is visible is shown");
    }
  }
  for (std::size_t i = 0; i < cues.size(); ++i) {
    const bool dropped = std::binary_search(timeline.report.dropped.begin(),
                                            timeline.report.dropped.end(), static_cast<int>(i + 1));
    Require(drawn[i] != dropped, "every cue is drawn or reported as left out, never both");
  }
}

// The most shown spans that share one moment.
std::size_t MostShownAtOnce(const std::vector<ModelSpan>& spans) {
  std::vector<std::pair<long long, int>> edges;
  for (const ModelSpan& span : spans) {
    if (span.shown) {
      edges.emplace_back(span.begin, 1);
      edges.emplace_back(span.end, -1);
    }
  }
  // At one tick an end comes before a start: spans that touch do not overlap.
  std::sort(edges.begin(), edges.end());
  std::size_t most = 0;
  long long current = 0;
  for (const auto& edge : edges) {
    current += edge.second;
    most = std::max(most, static_cast<std::size_t>(std::max(current, 0LL)));
  }
  return most;
}

}  // namespace

void CheckPlannedTimeline(const std::vector<CueTime>& cues) {
  const bool startsFit = std::all_of(cues.begin(), cues.end(), [](const CueTime& cue) {
    return cue.startMs >= 0 && cue.startMs <= kLatestStartMs;
  });
  Timeline timeline;
  try {
    timeline = PlanTimeline(cues);
  } catch (const SubtitleError&) {
    if (startsFit && MostShownAtOnce(ModelSpans(cues)) <= kMostCuesAtOnce) {
      const bool shownPastRange = std::any_of(cues.begin(), cues.end(), [](const CueTime& cue) {
        return std::min(cue.endMs, kFarthestEndMs) * kTicksPerMs > kLatestTick;
      });
      Require(shownPastRange,
              "only a cue shown past the time stamp range or with too many others is refused");
    }
    return;
  }
  Require(startsFit, "a start before 0 or past the time stamp range is refused");
  const std::vector<ModelSpan> spans = ModelSpans(cues);
  CheckReport(cues, spans, timeline.report);
  CheckSubpictures(cues, spans, timeline);
}

}  // namespace tesmora::fuzz
