#include "render/OverlongCue.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <span>
#include <system_error>
#include <thread>

#include "render/CueLayout.h"

namespace tesmora {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The fault of a cue read and measured as the drawing reads it: in its own
// font when its file gives one (an ASS style), else in the window's style.
std::optional<CueFault> FaultOfCue(const SubtitleEntry& cue, const TextSource& source,
                                   const SubtitleStyle& style, int frameHeight) {
  return FaultOf(PrepareCueInItsFont(cue.lines, cue.look, source, style, frameHeight), style,
                 frameHeight);
}

// Measures cues first, first + step, ... up to the first that does not fit,
// or up to one past what another thread already found, which would win
// anyway.
void MeasureEvery(const std::vector<SubtitleEntry>& cues, const TextSource& source,
                  const SubtitleStyle& style, int frameHeight, std::size_t first, std::size_t step,
                  std::atomic<std::size_t>& found) {
  for (std::size_t i = first; i < cues.size() && i < found.load(std::memory_order_relaxed);
       i += step) {
    if (FaultOfCue(cues[i], source, style, frameHeight)) {
      std::size_t earlier = found.load();
      while (i < earlier && !found.compare_exchange_weak(earlier, i)) {
      }
      return;
    }
  }
}

}  // namespace

std::optional<CueFault> FaultOf(const PreparedCue& cue, const SubtitleStyle& style,
                                int frameHeight) {
  if (cue.wrappedPast > 0) {
    return CueFault::TooTall;
  }
  if (!cue.fitsWidth()) {
    return CueFault::TooWide;
  }
  // A cue with no line at all has nothing to cut off.
  if (!cue.lines.empty() &&
      !LinesInsideFrame(PlaceCues(std::span(&cue, 1), style, frameHeight), style, frameHeight)) {
    return CueFault::TooTall;
  }
  return std::nullopt;
}

std::optional<UnfitCue> FirstUnfitCue(const std::vector<SubtitleEntry>& cues,
                                      const TextSource& source, const SubtitleStyle& style,
                                      int frameHeight, int workers,
                                      const ThreadStarter& startThread) {
  std::atomic<std::size_t> found{kNone};
  const std::size_t threads =
      std::clamp<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), 1, cues.size() + 1);
  if (threads < 2 || cues.size() < 2) {
    MeasureEvery(cues, source, style, frameHeight, 0, 1, found);
  } else {
    // Interleaved, so that every thread gets long and short cues alike, and
    // an early cue too wide is found early.
    std::vector<std::thread> helpers;
    std::vector<std::exception_ptr> failures(threads);
    std::vector<std::size_t> notStarted;
    helpers.reserve(threads - 1);
    for (std::size_t t = 1; t < threads; ++t) {
      try {
        helpers.push_back(startThread([&, t] {
          try {
            MeasureEvery(cues, source, style, frameHeight, t, threads, found);
          } catch (...) {
            failures[t] = std::current_exception();
            found.store(0);
          }
        }));
      } catch (const std::system_error&) {
        notStarted.push_back(t);
      }
    }
    try {
      MeasureEvery(cues, source, style, frameHeight, 0, threads, found);
      for (const std::size_t t : notStarted) {
        MeasureEvery(cues, source, style, frameHeight, t, threads, found);
      }
    } catch (...) {
      failures[0] = std::current_exception();
      found.store(0);
    }
    for (std::thread& helper : helpers) {
      helper.join();
    }
    for (const std::exception_ptr& failure : failures) {
      if (failure) {
        std::rethrow_exception(failure);
      }
    }
  }
  const std::size_t first = found.load();
  if (first == kNone) {
    return std::nullopt;
  }
  // The cue is measured once more to say why: one cue, however long the list.
  const std::optional<CueFault> fault = FaultOfCue(cues[first], source, style, frameHeight);
  return UnfitCue{first, fault.value_or(CueFault::TooWide)};
}

}  // namespace tesmora
