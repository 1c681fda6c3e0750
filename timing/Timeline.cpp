#include "timing/Timeline.h"

#include <algorithm>
#include <deque>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <string>

#include "core/SubtitleError.h"
#include "timing/SubpictureClock.h"

namespace tesmora {
namespace {

constexpr long long kTicksPerMs = 90;
constexpr long long kTicksPerUnit = 1024;
constexpr long long kLargestStopDelay = 0xFFFF;
constexpr long long kLatestTick = 0xFFFFFFFFLL;
// Ends beyond this (about 31 years) are held to it, so no tick count overflows.
constexpr long long kFarthestEndMs = 1'000'000'000'000LL;

// When a cue is visible, in ticks: from `begin` up to, not including, `end`.
struct Span {
  long long begin = 0;
  long long end = 0;
  int cue = 0;
};

// A stretch of time in which the same cues are visible.
struct Interval {
  long long from = 0;
  long long to = 0;
  std::vector<int> cues;
};

void CheckStartTimes(const std::vector<CueTime>& cues) {
  for (std::size_t i = 0; i < cues.size(); ++i) {
    try {
      PresentationTimeStamp(cues[i].startMs);
    } catch (const PacketError& error) {
      throw SubtitleError(static_cast<int>(i + 1), cues[i].startMs, error.what());
    }
  }
}

std::vector<int> TimeOrder(const std::vector<CueTime>& cues, TimingReport& report) {
  std::vector<int> order(cues.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&cues](int a, int b) { return cues[a].startMs < cues[b].startMs; });
  for (std::size_t i = 1; i < cues.size(); ++i) {
    if (cues[i].startMs < cues[i - 1].startMs) {
      if (report.outOfOrder++ == 0) {
        report.firstOutOfOrder = static_cast<int>(i + 1);
      }
    }
  }
  return order;
}

// The spans of the cues in time order. A cue shorter than one unit gets one
// unit when no other cue starts within it, and is left out otherwise.
std::vector<Span> VisibleSpans(const std::vector<CueTime>& cues, const std::vector<int>& order,
                               TimingReport& report) {
  // The first later start after each position in time order.
  std::vector<std::optional<long long>> laterStart(order.size());
  for (std::size_t k = order.size(); k-- > 1;) {
    laterStart[k - 1] = cues[order[k]].startMs > cues[order[k - 1]].startMs
                            ? std::optional(cues[order[k]].startMs)
                            : laterStart[k];
  }
  std::vector<Span> spans;
  spans.reserve(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    const CueTime& cue = cues[order[k]];
    const long long begin = cue.startMs * kTicksPerMs;
    // An end before the start counts as one at the start: too short either way.
    const long long end = std::clamp(cue.endMs, cue.startMs, kFarthestEndMs) * kTicksPerMs;
    if (end - begin >= kTicksPerUnit) {
      spans.push_back({begin, end, order[k]});
      continue;
    }
    const int number = order[k] + 1;
    ++report.tooShort;
    report.firstTooShort = report.tooShort == 1 ? number : std::min(report.firstTooShort, number);
    if (!laterStart[k] || *laterStart[k] * kTicksPerMs - begin >= kTicksPerUnit) {
      spans.push_back({begin, begin + kTicksPerUnit, order[k]});
    } else {
      report.dropped.push_back(number);
    }
  }
  return spans;
}

// "1-3, 7, 9-10": the numbers, in order, with runs written as ranges.
std::string NumberRanges(std::vector<int> numbers) {
  std::sort(numbers.begin(), numbers.end());
  std::string text;
  for (std::size_t i = 0; i < numbers.size();) {
    std::size_t last = i;
    while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1) {
      ++last;
    }
    text += (text.empty() ? "" : ", ") + std::to_string(numbers[i]);
    if (last > i) {
      text += "-" + std::to_string(numbers[last]);
    }
    i = last + 1;
  }
  return text;
}

// Refuses the cue of `spans[added]`, which has just made `visible` one more
// than a subpicture draws, naming the cues it would be shown with.
[[noreturn]] void RefuseCrowdedCue(const std::vector<Span>& spans,
                                   const std::set<std::size_t>& visible, std::size_t added,
                                   const std::vector<CueTime>& cues) {
  std::vector<int> others;
  for (const std::size_t position : visible) {
    if (position != added) {
      others.push_back(spans[position].cue + 1);
    }
  }
  const int cue = spans[added].cue;
  const std::string count = std::to_string(others.size());
  throw SubtitleError(cue + 1, cues[cue].startMs,
                      "it would be shown at the same time as " + count + " other subtitles (" +
                          NumberRanges(std::move(others)) +
                          "), more than a frame can hold (at most " +
                          std::to_string(kMostCuesAtOnce) + " at once)");
}

// Splits the time into intervals at every begin and end; `spans` are in
// time order, and so are the cues of each interval.
std::deque<Interval> VisibleIntervals(const std::vector<Span>& spans,
                                      const std::vector<CueTime>& cues) {
  std::vector<long long> changes;
  changes.reserve(spans.size() * 2);
  for (const Span& span : spans) {
    changes.push_back(span.begin);
    changes.push_back(span.end);
  }
  std::sort(changes.begin(), changes.end());
  changes.erase(std::unique(changes.begin(), changes.end()), changes.end());

  // A deque grows without moving what it holds, and gives back its front
  // as the subpictures are made from it.
  std::deque<Interval> intervals;
  std::set<std::size_t> visible;  // positions in `spans`
  std::multimap<long long, std::size_t> ends;
  std::size_t next = 0;
  for (std::size_t c = 0; c + 1 < changes.size(); ++c) {
    const long long at = changes[c];
    while (!ends.empty() && ends.begin()->first <= at) {
      visible.erase(ends.begin()->second);
      ends.erase(ends.begin());
    }
    while (next < spans.size() && spans[next].begin == at) {
      visible.insert(next);
      if (visible.size() > kMostCuesAtOnce) {
        RefuseCrowdedCue(spans, visible, next, cues);
      }
      ends.emplace(spans[next].end, next);
      ++next;
    }
    if (!visible.empty()) {
      Interval interval{at, changes[c + 1], {}};
      for (const std::size_t position : visible) {
        interval.cues.push_back(spans[position].cue);
      }
      intervals.push_back(std::move(interval));
    }
  }
  return intervals;
}

void CountOverlaps(const std::deque<Interval>& intervals, std::size_t cueCount,
                   TimingReport& report) {
  std::vector<bool> overlapping(cueCount, false);
  for (const Interval& interval : intervals) {
    if (interval.cues.size() > 1) {
      for (const int cue : interval.cues) {
        overlapping[cue] = true;
      }
    }
  }
  for (std::size_t i = 0; i < cueCount; ++i) {
    if (overlapping[i] && report.overlapping++ == 0) {
      report.firstOverlapping = static_cast<int>(i + 1);
    }
  }
}

// Units of `ticks`, to the nearest, halves to even.
long long NearestUnits(long long ticks) {
  long long units = ticks / kTicksPerUnit;
  const long long rest = ticks % kTicksPerUnit;
  if (rest * 2 > kTicksPerUnit || (rest * 2 == kTicksPerUnit && units % 2 != 0)) {
    ++units;
  }
  return units;
}

// The largest stop delay, at most `units`, after which a unit that starts
// at `start` is taken off on a whole millisecond; `units` itself when it
// is not larger than the largest delay, or when no such delay exists.
// Every start here is even (whole milliseconds, and units of 1024 ticks
// added to them), and from an even start one of any 45 delays in a row
// ends on a millisecond.
long long DelayEndingOnAMillisecond(long long start, long long units) {
  if (units <= kLargestStopDelay) {
    return units;
  }
  for (long long piece = kLargestStopDelay; piece > kLargestStopDelay - kTicksPerMs; --piece) {
    if ((start + piece * kTicksPerUnit) % kTicksPerMs == 0) {
      return piece;
    }
  }
  return kLargestStopDelay;
}

// Appends the subpictures of one interval, the first starting at `start`:
// as many long ones as it needs, back to back, then the rest. A repeat
// starts where the unit before it is taken off, on a whole millisecond, so
// that the index, which holds whole milliseconds, gives its time exactly.
// The last takes the interval's cues. Returns where the last is taken off.
long long AppendRepeats(Interval& interval, long long start, long long units,
                        const std::vector<CueTime>& cues, std::vector<Subpicture>& out) {
  while (units > 0) {
    if (start > kLatestTick) {
      const int first = interval.cues.front();
      throw SubtitleError(first + 1, cues[first].startMs,
                          "it is still shown at " + FormatSubtitleTime(start / kTicksPerMs) +
                              ", where a subpicture would have to start, later than a time "
                              "stamp can hold (0 to " +
                              std::to_string(kLatestTick / kTicksPerMs) + " ms)");
    }
    const long long piece = DelayEndingOnAMillisecond(start, units);
    units -= piece;
    out.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint16_t>(piece),
                   units > 0 ? interval.cues : std::move(interval.cues)});
    start += piece * kTicksPerUnit;
  }
  return start;
}

// The subpictures of the intervals, which are used up on the way, so that a
// long film's cue lists are not held twice.
//
// A stop delay counts whole units, so a subpicture is mostly taken off a
// little before its interval ends. Where the next interval follows without
// a gap, its first subpicture starts where the one before is taken off,
// less than a unit before its cues start, so that the screen never goes
// blank between them and no two subpictures overlap; where no cue is shown
// between two intervals, the next starts at its own time.
std::vector<Subpicture> Subpictures(std::deque<Interval> intervals,
                                    const std::vector<CueTime>& cues, TimingReport& report) {
  std::vector<Subpicture> subpictures;
  subpictures.reserve(intervals.size());  // one each, unless an interval repeats
  std::vector<bool> accounted(cues.size(), false);
  for (const int number : report.dropped) {
    accounted[number - 1] = true;  // already reported as left out
  }
  // Where the last subpicture was taken off, and the end of the interval
  // it showed or that was left out after it without a gap.
  std::optional<long long> shownUntil;
  long long chainEnd = 0;
  for (; !intervals.empty(); intervals.pop_front()) {
    Interval& interval = intervals.front();
    const bool follows = shownUntil && interval.from == chainEnd;
    const long long start = follows ? *shownUntil : interval.from;
    long long units = NearestUnits(interval.to - start);
    if (intervals.size() > 1) {
      const long long room = intervals[1].from - start;
      if (units * kTicksPerUnit > room) {
        units = room / kTicksPerUnit;
      }
    }
    // An interval of less than one unit cannot be seen; the cues around it
    // show in their other intervals.
    if (units == 0) {
      if (follows) {
        chainEnd = interval.to;
      } else {
        shownUntil.reset();
      }
      continue;
    }
    for (const int cue : interval.cues) {
      accounted[cue] = true;
    }
    chainEnd = interval.to;
    shownUntil = AppendRepeats(interval, start, units, cues, subpictures);
  }
  for (std::size_t i = 0; i < cues.size(); ++i) {
    if (!accounted[i]) {
      report.dropped.push_back(static_cast<int>(i + 1));
    }
  }
  std::sort(report.dropped.begin(), report.dropped.end());
  return subpictures;
}

}  // namespace

Timeline PlanTimeline(const std::vector<CueTime>& cues) {
  CheckStartTimes(cues);
  Timeline timeline;
  std::deque<Interval> intervals =
      VisibleIntervals(VisibleSpans(cues, TimeOrder(cues, timeline.report), timeline.report), cues);
  CountOverlaps(intervals, cues.size(), timeline.report);
  timeline.subpictures = Subpictures(std::move(intervals), cues, timeline.report);
  return timeline;
}

}  // namespace tesmora
