#include "hdrender/StablePictures.h"

#include <algorithm>
#include <memory>
#include <set>

#include "hdrender/ForcedRegions.h"

namespace tesmora {

namespace {

bool IsTagStart(std::string_view text, std::size_t at, std::string_view tag) {
  return text.substr(at, tag.size()) == tag;
}

// Whether an animating tag starts at `at`, just after its backslash: \fad
// and \fade, \move, \t( (a transform; \t counts only with its bracket)
// and the karaoke tags \k, \kf, \ko and \K, the only tags starting with k.
bool AnimatingTagAt(std::string_view text, std::size_t at) {
  return IsTagStart(text, at, "fad") || IsTagStart(text, at, "move") ||
         IsTagStart(text, at, "t(") || IsTagStart(text, at, "k") || IsTagStart(text, at, "K");
}

using Stretch = PictureStretch;

// The stretches of time over which the same events show, in order; those
// with no event are left out.
std::vector<Stretch> Stretches(const AssRenderer& renderer) {
  const int count = renderer.eventCount();
  std::vector<long long> bounds;
  bounds.reserve(static_cast<std::size_t>(count) * 2);
  for (int i = 0; i < count; ++i) {
    const CueTime time = renderer.eventTime(i);
    if (time.endMs > time.startMs) {
      bounds.push_back(time.startMs);
      bounds.push_back(time.endMs);
    }
  }
  std::sort(bounds.begin(), bounds.end());
  bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
  // Events by start, so that each stretch looks only at those begun.
  std::vector<int> byStart;
  for (int i = 0; i < count; ++i) {
    const CueTime time = renderer.eventTime(i);
    if (time.endMs > time.startMs) {
      byStart.push_back(i);
    }
  }
  std::stable_sort(byStart.begin(), byStart.end(), [&renderer](int a, int b) {
    return renderer.eventTime(a).startMs < renderer.eventTime(b).startMs;
  });
  std::vector<Stretch> stretches;
  std::vector<int> shown;
  std::size_t next = 0;
  for (std::size_t b = 0; b + 1 < bounds.size(); ++b) {
    const long long from = bounds[b];
    const long long to = bounds[b + 1];
    std::erase_if(shown, [&](int e) { return renderer.eventTime(e).endMs <= from; });
    while (next < byStart.size() && renderer.eventTime(byStart[next]).startMs <= from) {
      shown.push_back(byStart[next]);
      ++next;
    }
    if (!shown.empty()) {
      std::vector<int> events = shown;
      std::sort(events.begin(), events.end());
      stretches.push_back({from, to, std::move(events)});
    }
  }
  return stretches;
}

bool StretchMayChange(const AssRenderer& renderer, const Stretch& stretch) {
  return std::any_of(stretch.events.begin(), stretch.events.end(), [&renderer](int e) {
    return MayChangeWhileShown(renderer.eventText(e), renderer.eventEffect(e));
  });
}

// The events a changing stretch is blamed on: those that can change, or all
// of them when none can (libass saw a change no tag explains).
std::vector<int> ChangingEvents(const AssRenderer& renderer, const Stretch& stretch) {
  std::vector<int> events;
  for (const int e : stretch.events) {
    if (MayChangeWhileShown(renderer.eventText(e), renderer.eventEffect(e))) {
      events.push_back(e);
    }
  }
  return events.empty() ? stretch.events : events;
}

// Draws the stretches one by one and gathers what the report says of them.
class Drawer {
 public:
  Drawer(AssRenderer& renderer, const HdTarget& target, const PictureSink& sink,
         const ForcedEvents& forced, HeldPictureCheck check = HeldPictureCheck::LastFrame)
      : renderer_(renderer), target_(target), sink_(sink), forced_(forced), check_(check) {}

  void Draw(const Stretch& stretch) {
    bool changed = false;
    if (StretchMayChange(renderer_, stretch)) {
      changed = DrawEveryFrame(stretch);
    } else {
      renderer_.changeAt(stretch.startMs);
      Drawn first = Take(stretch, stretch.startMs);
      if (check_ == HeldPictureCheck::None ||
          renderer_.changeAt(stretch.endMs - 1) == FrameChange::None) {
        Add(stretch, stretch.startMs, stretch.endMs, std::move(first), -1);
      } else {
        changed = DrawEveryFrame(stretch);
      }
    }
    if (changed) {
      const std::vector<int> events = ChangingEvents(renderer_, stretch);
      changing_.insert(events.begin(), events.end());
    }
  }

  PictureReport Report() const {
    PictureReport report;
    report.changingEventIndices.assign(changing_.begin(), changing_.end());
    report.changingEvents = static_cast<int>(changing_.size());
    report.heldStill = held_;
    report.mixedForcedEvents.assign(mixed_.begin(), mixed_.end());
    return report;
  }

 private:
  struct Drawn {
    std::vector<RgbaRegion> regions;
    std::vector<bool> forced;
  };

  // The picture libass drew last, at `ms`, with its forced regions marked.
  Drawn Take(const Stretch& stretch, long long ms) {
    Drawn drawn{renderer_.lastRegions(), {}};
    if (forced_.events.empty() || drawn.regions.empty()) {
      return drawn;
    }
    std::vector<int> forcedShown;
    for (const int e : stretch.events) {
      if (static_cast<std::size_t>(e) < forced_.events.size() &&
          forced_.events[static_cast<std::size_t>(e)]) {
        forcedShown.push_back(e);
      }
    }
    if (forcedShown.empty()) {
      return drawn;
    }
    if (forcedShown.size() == stretch.events.size() || forced_.alone == nullptr) {
      drawn.forced.assign(drawn.regions.size(), true);
      return drawn;
    }
    forced_.alone->changeAt(ms);
    ForcedMarks marks = MarkForcedRegions(drawn.regions, forced_.alone->lastRegions());
    if (marks.mixed) {
      mixed_.insert(forcedShown.begin(), forcedShown.end());
    }
    drawn.forced = std::move(marks.forced);
    return drawn;
  }

  void Add(const Stretch& stretch, long long from, long long to, Drawn drawn, int changeOf,
           FrameBox reach = {}) {
    if (!drawn.regions.empty() && to > from) {
      sink_({from, to, std::move(drawn.regions), stretch.events, std::move(drawn.forced), changeOf,
             reach});
    }
  }

  // The frames of a changing stretch that are drawn, after its first: all
  // of them, or only those of its first and last kLongestDrawnChangeMs when
  // it is longer than both.
  struct DrawnFrames {
    std::vector<long long> times;  // in ms
    std::size_t tail = 0;          // the first of the last part's frames, when some are skipped
    long long skippedFromMs = -1;  // the first frame not drawn; -1 when none is skipped
  };

  DrawnFrames FramesOf(const Stretch& stretch) const {
    DrawnFrames frames;
    const long long firstFrame = FrameAtMs(target_, stretch.startMs) + 1;
    long long skipFrom = -1;
    long long skipTo = -1;
    if (stretch.endMs - stretch.startMs > 2 * kLongestDrawnChangeMs) {
      skipFrom = std::max(firstFrame, FrameAtMs(target_, stretch.startMs + kLongestDrawnChangeMs));
      skipTo = std::max(skipFrom, FrameAtMs(target_, stretch.endMs - kLongestDrawnChangeMs));
    }
    for (long long frame = firstFrame;; ++frame) {
      if (frame == skipFrom && skipTo > skipFrom) {
        frame = skipTo;
        frames.tail = frames.times.size();
        frames.skippedFromMs = FrameStartMs(target_, skipFrom);
      }
      const long long at = FrameStartMs(target_, frame);
      if (at >= stretch.endMs) {
        break;
      }
      frames.times.push_back(at);
    }
    return frames;
  }

  // Draws the stretch at each of its drawn frames; each change ends one
  // picture and starts the next. The frames are drawn twice: first only to
  // find the box they all stay within, then for their pictures. Returns
  // whether the picture changed.
  bool DrawEveryFrame(const Stretch& stretch) {
    const int blamed = ChangingEvents(renderer_, stretch).front();
    const DrawnFrames frames = FramesOf(stretch);
    renderer_.changeAt(stretch.startMs);
    FrameBox reach = renderer_.lastBounds();
    for (const long long at : frames.times) {
      renderer_.changeAt(at);
      reach = Joined(reach, renderer_.lastBounds());
    }

    renderer_.changeAt(stretch.startMs);
    Drawn current = Take(stretch, stretch.startMs);
    long long pictureStart = stretch.startMs;
    int changeOf = -1;
    bool changed = false;
    for (std::size_t i = 0; i < frames.times.size(); ++i) {
      const long long at = frames.times[i];
      if (renderer_.changeAt(at) == FrameChange::None) {
        continue;
      }
      if (frames.skippedFromMs >= 0 && i == frames.tail) {
        held_.push_back({blamed, frames.skippedFromMs, at});
      }
      changed = true;
      Add(stretch, pictureStart, at, std::move(current), changeOf, reach);
      current = Take(stretch, at);
      pictureStart = at;
      changeOf = blamed;
    }
    Add(stretch, pictureStart, stretch.endMs, std::move(current), changeOf, reach);
    return changed;
  }

  AssRenderer& renderer_;
  const HdTarget& target_;
  // Copies: a drawer may be given a temporary sink, and one made with no
  // events forced is given a temporary set.
  const PictureSink sink_;
  const ForcedEvents forced_;
  const HeldPictureCheck check_;
  std::set<int> changing_;
  std::set<int> mixed_;
  std::vector<HeldChange> held_;
};

}  // namespace

bool MayChangeWhileShown(std::string_view text, std::string_view effect) {
  if (!effect.empty()) {
    return true;
  }
  bool inBlock = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      inBlock = true;
    } else if (text[i] == '}') {
      inBlock = false;
    } else if (inBlock && text[i] == '\\' && AnimatingTagAt(text, i + 1)) {
      return true;
    }
  }
  return false;
}

class StretchDrawer::Impl : public Drawer {
 public:
  using Drawer::Drawer;
};

StretchDrawer::StretchDrawer(AssRenderer& renderer, const HdTarget& target, const PictureSink& sink,
                             const ForcedEvents& forced, HeldPictureCheck check)
    : impl_(std::make_unique<Impl>(renderer, target, sink, forced, check)) {}

StretchDrawer::~StretchDrawer() = default;

void StretchDrawer::draw(const PictureStretch& stretch) {
  impl_->Draw(stretch);
}

PictureReport StretchDrawer::report() {
  return impl_->Report();
}

std::vector<int> DrawStretch(AssRenderer& renderer, const HdTarget& target,
                             const PictureStretch& stretch, const PictureSink& sink) {
  StretchDrawer drawer(renderer, target, sink);
  drawer.draw(stretch);
  return drawer.report().changingEventIndices;
}

std::vector<std::vector<PictureStretch>> PictureScenes(const AssRenderer& renderer) {
  std::vector<std::vector<PictureStretch>> scenes;
  for (Stretch& stretch : Stretches(renderer)) {
    // A stretch joins the scene before when it starts where that scene's
    // last stretch ends and shows one of its events.
    bool continues = false;
    if (!scenes.empty() && scenes.back().back().endMs == stretch.startMs) {
      const std::vector<int>& before = scenes.back().back().events;
      continues = std::any_of(stretch.events.begin(), stretch.events.end(), [&before](int e) {
        return std::binary_search(before.begin(), before.end(), e);
      });
    }
    if (!continues) {
      scenes.emplace_back();
    }
    scenes.back().push_back(std::move(stretch));
  }
  return scenes;
}

PictureReport FindStablePictures(AssRenderer& renderer, const HdTarget& target,
                                 const PictureSink& sink, const ForcedEvents& forced) {
  Drawer drawer(renderer, target, sink, forced);
  for (const Stretch& stretch : Stretches(renderer)) {
    drawer.Draw(stretch);
  }
  return drawer.Report();
}

}  // namespace tesmora
