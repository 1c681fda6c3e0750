#include "conversion/PgsPictures.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "conversion/OrderedRing.h"
#include "hdrender/HdPictures.h"

namespace tesmora {
namespace {

// Scenes are handed out a few at a time, so that workers do not meet at
// the lock for every cue.
constexpr std::size_t kStretchesPerUnit = 8;

std::unique_ptr<AssRenderer> MakeRenderer(const PgsDrawing& drawing) {
  auto renderer = std::make_unique<AssRenderer>(drawing.script, drawing.target, drawing.shaping);
  if (!drawing.times.empty()) {
    renderer->setEventTimes(drawing.times);
  }
  return renderer;
}

// The renderers one thread draws with: the script's, and when only some of
// the shown events are forced, one showing those alone to find their
// regions. Each thread has its own, as libass renderers are not shared.
struct Renderers {
  std::unique_ptr<AssRenderer> script;
  std::unique_ptr<AssRenderer> alone;
  ForcedEvents forced;
};

Renderers MakeRenderers(const PgsDrawing& drawing, const ForcedStyleEvents& style) {
  Renderers renderers{MakeRenderer(drawing), nullptr, {style.events, nullptr}};
  if (!style.aloneTimes.empty()) {
    renderers.alone =
        std::make_unique<AssRenderer>(drawing.script, drawing.target, drawing.shaping);
    renderers.alone->setEventTimes(style.aloneTimes);
    renderers.forced.alone = renderers.alone.get();
  }
  return renderers;
}

// Whether the steps of a change are better shown in one window holding
// them all: writing a window of at most half the video takes no longer than
// half a plane clear, which a new epoch for each step would cost.
bool UsefulReach(const FrameBox& reach, const pgs::VideoFormat& video) {
  return reach.width > 0 && reach.height > 0 &&
         static_cast<long long>(reach.width) * reach.height * 2 <=
             static_cast<long long>(video.width) * video.height;
}

// Consecutive scenes of about kStretchesPerUnit stretches together: [first, end).
struct Unit {
  std::size_t first = 0;
  std::size_t end = 0;
};

std::vector<Unit> UnitsOf(const std::vector<std::vector<PictureStretch>>& scenes) {
  std::vector<Unit> units;
  std::size_t stretches = 0;
  for (std::size_t i = 0; i < scenes.size(); ++i) {
    if (units.empty() || stretches >= kStretchesPerUnit) {
      units.push_back({i, i});
      stretches = 0;
    }
    units.back().end = i + 1;
    stretches += scenes[i].size();
  }
  return units;
}

// What one unit's scenes gave: their pictures made ready, what drawing them
// found, or the failure met.
struct Outcome {
  std::vector<PreparedCuePicture> pictures;
  PictureReport report;
  std::exception_ptr error;
};

// Draws the scenes of a unit with one thread's renderers, each picture made
// ready as soon as it is drawn, so only the ready form is kept.
void DrawUnit(Renderers& renderers, const PgsDrawing& drawing,
              const std::vector<std::vector<PictureStretch>>& scenes, const Unit& unit,
              const PreparedPictureSink& sink, PictureReport& report) {
  const PictureSink ready = [&](TimedPicture&& drawn) {
    pgs::TimedPicture picture{pgs::TicksFromMilliseconds(drawn.startMs),
                              pgs::TicksFromMilliseconds(drawn.endMs),
                              {},
                              drawing.forced,
                              drawn.changeOf >= 0,
                              std::nullopt};
    if (UsefulReach(drawn.reach, drawing.video)) {
      picture.reach =
          pgs::Window{0, drawn.reach.x, drawn.reach.y, drawn.reach.width, drawn.reach.height};
    }
    for (std::size_t i = 0; i < drawn.regions.size(); ++i) {
      RgbaRegion& region = drawn.regions[i];
      pgs::PlacedPicture& placed = picture.regions.emplace_back();
      placed.x = region.x;
      placed.y = region.y;
      placed.forced = i < drawn.forced.size() && drawn.forced[i];
      placed.picture.width = region.width;
      placed.picture.height = region.height;
      // Both hold the same pixels; a region's picture is handed on, not copied.
      placed.picture.pixels = std::move(region.pixels);
      placed.picture.pixels.resize(static_cast<std::size_t>(region.width) * region.height);
    }
    drawn.regions.clear();
    sink({pgs::PreparePicture(std::move(picture), drawing.video),
          drawn.events.empty() ? 0 : drawn.events.front(), drawn.startMs, drawn.changeOf});
  };
  StretchDrawer drawer(*renderers.script, drawing.target, ready, renderers.forced,
                       drawing.heldCheck);
  for (std::size_t s = unit.first; s < unit.end; ++s) {
    for (const PictureStretch& stretch : scenes[s]) {
      drawer.draw(stretch);
    }
  }
  report = drawer.report();
}

// Units go to the workers and their outcomes back to the calling thread in
// a ring of 2 slots a worker, so no worker runs more than the ring ahead.
using UnitRing = OrderedRing<Outcome>;

// Stops the workers and joins them however the run ends.
class Crew {
 public:
  explicit Crew(UnitRing& ring) : ring_(ring) {}
  ~Crew() {
    ring_.stop();
    for (std::thread& thread : threads_) {
      thread.join();
    }
  }
  Crew(const Crew&) = delete;
  Crew& operator=(const Crew&) = delete;

  void add(std::thread thread) { threads_.push_back(std::move(thread)); }
  std::size_t size() const { return threads_.size(); }

 private:
  UnitRing& ring_;
  std::vector<std::thread> threads_;
};

// What the units found, gathered in unit order: the events in order once
// each, the held changes in time order.
class Findings {
 public:
  void add(const PictureReport& report) {
    changing_.insert(report.changingEventIndices.begin(), report.changingEventIndices.end());
    mixed_.insert(report.mixedForcedEvents.begin(), report.mixedForcedEvents.end());
    held_.insert(held_.end(), report.heldStill.begin(), report.heldStill.end());
  }

  PictureReport report() const {
    PictureReport report;
    report.changingEventIndices.assign(changing_.begin(), changing_.end());
    report.changingEvents = static_cast<int>(changing_.size());
    report.heldStill = held_;
    report.mixedForcedEvents.assign(mixed_.begin(), mixed_.end());
    return report;
  }

 private:
  std::set<int> changing_;
  std::set<int> mixed_;
  std::vector<HeldChange> held_;
};

}  // namespace

PictureReport DrawPgsPictures(const PgsDrawing& drawing, int workers,
                              const PreparedPictureSink& sink, const ThreadStarter& startThread) {
  Renderers own{MakeRenderer(drawing), nullptr, {}};
  const ForcedStyleEvents style = ForcedStyleEventsOf(*own.script, drawing.forcedStyle);
  if (!style.aloneTimes.empty()) {
    own = MakeRenderers(drawing, style);
  } else {
    own.forced.events = style.events;
  }
  const std::vector<std::vector<PictureStretch>> scenes = PictureScenes(*own.script);
  const std::vector<Unit> units = UnitsOf(scenes);
  Findings findings;

  const auto alone = [&]() {
    for (const Unit& unit : units) {
      PictureReport report;
      DrawUnit(own, drawing, scenes, unit, sink, report);
      findings.add(report);
    }
    return findings.report();
  };
  if (workers < 2 || units.size() < 2) {
    return alone();
  }

  UnitRing ring(units.size(), static_cast<std::size_t>(workers) * 2);
  Crew crew(ring);
  const auto work = [&ring, &drawing, &style, &scenes, &units] {
    std::optional<Renderers> renderers;
    while (const std::optional<std::size_t> unit = ring.take()) {
      Outcome outcome;
      try {
        if (!renderers) {
          renderers = MakeRenderers(drawing, style);
        }
        DrawUnit(
            *renderers, drawing, scenes, units[*unit],
            [&outcome](PreparedCuePicture&& picture) {
              outcome.pictures.push_back(std::move(picture));
            },
            outcome.report);
      } catch (...) {
        outcome.error = std::current_exception();
      }
      ring.put(*unit, std::move(outcome));
    }
  };
  for (int i = 0; i < workers; ++i) {
    try {
      crew.add(startThread(work));
    } catch (const std::system_error&) {
      break;  // the run goes on with the threads that started
    }
  }
  if (crew.size() == 0) {
    return alone();
  }
  for (std::size_t k = 0; k < units.size(); ++k) {
    Outcome outcome = ring.await(k);
    if (outcome.error) {
      std::rethrow_exception(outcome.error);  // the crew stops and joins first
    }
    for (PreparedCuePicture& picture : outcome.pictures) {
      sink(std::move(picture));
    }
    findings.add(outcome.report);
  }
  return findings.report();
}

}  // namespace tesmora
