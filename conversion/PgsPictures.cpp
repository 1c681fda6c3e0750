#include "conversion/PgsPictures.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

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

// What one unit's scenes gave: their pictures made ready, the events blamed
// for changes, or the failure met.
struct Outcome {
  std::vector<PreparedCuePicture> pictures;
  std::vector<int> changing;
  std::exception_ptr error;
};

// Draws the scenes of a unit with one renderer, each picture made ready as
// soon as it is drawn, so only the ready form is kept.
void DrawUnit(AssRenderer& renderer, const PgsDrawing& drawing,
              const std::vector<std::vector<PictureStretch>>& scenes, const Unit& unit,
              const PreparedPictureSink& sink, std::vector<int>& changing) {
  const PictureSink ready = [&](TimedPicture&& drawn) {
    pgs::TimedPicture picture{pgs::TicksFromMilliseconds(drawn.startMs),
                              pgs::TicksFromMilliseconds(drawn.endMs),
                              {},
                              drawing.forced};
    for (const RgbaRegion& region : drawn.regions) {
      pgs::PlacedPicture& placed = picture.regions.emplace_back();
      placed.x = region.x;
      placed.y = region.y;
      placed.picture.width = region.width;
      placed.picture.height = region.height;
      // Both hold straight RGBA, four bytes a pixel in the same order.
      static_assert(sizeof(pgs::Rgba) == 4);
      const std::size_t count =
          std::min(static_cast<std::size_t>(region.width) * region.height, region.rgba.size() / 4);
      placed.picture.pixels.resize(count);
      std::copy_n(region.rgba.data(), count * 4,
                  reinterpret_cast<std::uint8_t*>(placed.picture.pixels.data()));
    }
    drawn.regions.clear();
    sink({pgs::PreparePicture(picture, drawing.video),
          drawn.events.empty() ? 0 : drawn.events.front()});
  };
  for (std::size_t s = unit.first; s < unit.end; ++s) {
    for (const PictureStretch& stretch : scenes[s]) {
      const std::vector<int> events = DrawStretch(renderer, drawing.target, stretch, ready);
      changing.insert(changing.end(), events.begin(), events.end());
    }
  }
}

// The units handed to the workers and their outcomes waiting for the
// calling thread, in a ring: unit k uses slot k % slots, so no worker runs
// more than the ring ahead of the sink.
class UnitRing {
 public:
  UnitRing(std::size_t count, std::size_t slots) : count_(count), slots_(slots) {}

  std::optional<std::size_t> take() {
    std::unique_lock lock(mutex_);
    room_.wait(lock,
               [&] { return stopped_ || next_ >= count_ || next_ < handed_ + slots_.size(); });
    if (stopped_ || next_ >= count_) {
      return std::nullopt;
    }
    return next_++;
  }

  void put(std::size_t unit, Outcome outcome) {
    {
      const std::lock_guard lock(mutex_);
      slots_[unit % slots_.size()] = std::move(outcome);
    }
    ready_.notify_one();
  }

  Outcome await(std::size_t unit) {
    std::unique_lock lock(mutex_);
    std::optional<Outcome>& slot = slots_[unit % slots_.size()];
    ready_.wait(lock, [&] { return slot.has_value(); });
    Outcome outcome = std::move(*slot);
    slot.reset();
    handed_ = unit + 1;
    lock.unlock();
    room_.notify_all();
    return outcome;
  }

  void stop() {
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    room_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable room_;
  std::condition_variable ready_;
  const std::size_t count_;
  std::vector<std::optional<Outcome>> slots_;
  std::size_t next_ = 0;
  std::size_t handed_ = 0;
  bool stopped_ = false;
};

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

PictureReport ReportOf(const std::set<int>& changing) {
  PictureReport report;
  report.changingEventIndices.assign(changing.begin(), changing.end());
  report.changingEvents = static_cast<int>(changing.size());
  return report;
}

}  // namespace

PictureReport DrawPgsPictures(const PgsDrawing& drawing, int workers,
                              const PreparedPictureSink& sink, const ThreadStarter& startThread) {
  const std::unique_ptr<AssRenderer> own = MakeRenderer(drawing);
  const std::vector<std::vector<PictureStretch>> scenes = PictureScenes(*own);
  const std::vector<Unit> units = UnitsOf(scenes);
  std::set<int> changing;

  const auto alone = [&]() {
    std::vector<int> events;
    for (const Unit& unit : units) {
      DrawUnit(*own, drawing, scenes, unit, sink, events);
    }
    changing.insert(events.begin(), events.end());
    return ReportOf(changing);
  };
  if (workers < 2 || units.size() < 2) {
    return alone();
  }

  UnitRing ring(units.size(), static_cast<std::size_t>(workers) * 2);
  Crew crew(ring);
  const auto work = [&ring, &drawing, &scenes, &units] {
    std::unique_ptr<AssRenderer> renderer;
    while (const std::optional<std::size_t> unit = ring.take()) {
      Outcome outcome;
      try {
        if (!renderer) {
          renderer = MakeRenderer(drawing);
        }
        DrawUnit(
            *renderer, drawing, scenes, units[*unit],
            [&outcome](PreparedCuePicture&& picture) {
              outcome.pictures.push_back(std::move(picture));
            },
            outcome.changing);
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
    changing.insert(outcome.changing.begin(), outcome.changing.end());
  }
  return ReportOf(changing);
}

}  // namespace tesmora
