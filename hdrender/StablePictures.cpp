#include "hdrender/StablePictures.h"

#include <algorithm>
#include <set>

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

void AddPicture(const PictureSink& sink, const Stretch& stretch, long long from, long long to,
                std::vector<RgbaRegion> regions) {
  if (!regions.empty() && to > from) {
    sink({from, to, std::move(regions), stretch.events});
  }
}

// Draws the stretch at every frame of the target's rate; each change ends
// one picture and starts the next. Returns whether the picture changed.
bool DrawEveryFrame(AssRenderer& renderer, const HdTarget& target, const Stretch& stretch,
                    const PictureSink& sink) {
  renderer.changeAt(stretch.startMs);
  std::vector<RgbaRegion> current = renderer.lastRegions();
  long long pictureStart = stretch.startMs;
  bool changed = false;
  for (long long frame = FrameAtMs(target, stretch.startMs) + 1;; ++frame) {
    const long long at = FrameStartMs(target, frame);
    if (at >= stretch.endMs) {
      break;
    }
    if (renderer.changeAt(at) == FrameChange::None) {
      continue;
    }
    changed = true;
    AddPicture(sink, stretch, pictureStart, at, std::move(current));
    current = renderer.lastRegions();
    pictureStart = at;
  }
  AddPicture(sink, stretch, pictureStart, stretch.endMs, std::move(current));
  return changed;
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

std::vector<int> DrawStretch(AssRenderer& renderer, const HdTarget& target,
                             const PictureStretch& stretch, const PictureSink& sink) {
  bool changed = false;
  if (StretchMayChange(renderer, stretch)) {
    changed = DrawEveryFrame(renderer, target, stretch, sink);
  } else {
    renderer.changeAt(stretch.startMs);
    std::vector<RgbaRegion> first = renderer.lastRegions();
    if (renderer.changeAt(stretch.endMs - 1) == FrameChange::None) {
      AddPicture(sink, stretch, stretch.startMs, stretch.endMs, std::move(first));
    } else {
      changed = DrawEveryFrame(renderer, target, stretch, sink);
    }
  }
  return changed ? ChangingEvents(renderer, stretch) : std::vector<int>();
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
                                 const PictureSink& sink) {
  std::set<int> changing;
  for (const Stretch& stretch : Stretches(renderer)) {
    const std::vector<int> events = DrawStretch(renderer, target, stretch, sink);
    changing.insert(events.begin(), events.end());
  }
  PictureReport report;
  report.changingEventIndices.assign(changing.begin(), changing.end());
  report.changingEvents = static_cast<int>(changing.size());
  return report;
}

}  // namespace tesmora
