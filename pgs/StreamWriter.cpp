#include "pgs/StreamWriter.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "pgs/DecoderModel.h"
#include "pgs/PaletteQuantiser.h"
#include "pgs/PaletteRefit.h"
#include "pgs/RunLength.h"
#include "pgs/Segments.h"
#include "pgs/ShownIntervals.h"

namespace tesmora::pgs {
namespace {

std::int64_t CeilMilliseconds(std::int64_t ticks) {
  return (ticks + 89) / 90;
}

bool Inside(const PlacedPicture& object, const Window& window) {
  return object.x >= window.x && object.y >= window.y &&
         object.x + object.picture.width <= window.x + window.width &&
         object.y + object.picture.height <= window.y + window.height;
}

// The window each object goes in, each in a window of its own; nothing
// when they do not all fit.
std::optional<std::vector<int>> WindowsFor(const std::vector<PlacedPicture>& objects,
                                           const std::vector<Window>& windows) {
  std::vector<int> chosen;
  for (const PlacedPicture& object : objects) {
    const auto fits = std::find_if(windows.begin(), windows.end(), [&](const Window& window) {
      return Inside(object, window) &&
             std::find(chosen.begin(), chosen.end(), window.id) == chosen.end();
    });
    if (fits == windows.end()) {
      return std::nullopt;
    }
    chosen.push_back(fits->id);
  }
  return chosen;
}

std::int64_t WindowsWriteTicks(const std::vector<Window>& windows) {
  std::int64_t ticks = 0;
  for (const Window& window : windows) {
    ticks += WriteTicks(window.width, window.height);
  }
  return ticks;
}

// Writes display sets one after another, keeping the epoch's windows, the
// versions and the time the last set is shown.
class SetWriter {
 public:
  SetWriter(const StreamOptions& options, ShownPictureSink shown)
      : options_(options),
        plane_clear_(PlaneClearTicks(options.video.width, options.video.height)),
        shown_(std::move(shown)) {}

  // The earliest time a set needing `lead` ticks before it is shown may be
  // shown: it decodes no earlier than the last set is shown (or 0).
  std::int64_t EarliestShow(std::int64_t lead) const { return last_shown_ + lead; }

  // Ticks a set showing `objects` needs before it is shown, and whether it
  // can stay in the current epoch.
  std::pair<std::int64_t, bool> Lead(const std::vector<PlacedPicture>& objects, bool replaces_shown,
                                     const std::optional<Window>& reach) const {
    // Versions are one byte: a long chain of sets starts a new epoch before
    // they would wrap.
    const bool same_epoch =
        replaces_shown && palette_version_ < 255 && WindowsFor(objects, windows_).has_value();
    std::int64_t decode = 0;
    for (const PlacedPicture& object : objects) {
      decode += DecodeTicks(object.picture.width, object.picture.height);
    }
    const std::int64_t write =
        same_epoch ? WindowsWriteTicks(windows_) : WindowsWriteTicks(WindowsOf(objects, reach));
    return {(same_epoch ? decode : std::max(plane_clear_, decode)) + write, same_epoch};
  }

  std::int64_t ClearLead() const { return WindowsWriteTicks(windows_); }

  void Show(std::int64_t pts, PreparedObjects prepared, bool same_epoch, bool forced,
            const std::optional<Window>& reach, int number, std::vector<std::uint8_t>& out) {
    const std::vector<PlacedPicture>& objects = prepared.objects;
    const std::int64_t lead = Lead(objects, same_epoch, reach).first;
    if (same_epoch) {
      ++palette_version_;
      ++object_version_;
    } else {
      windows_ = WindowsOf(objects, reach);
      palette_version_ = 0;
      object_version_ = 0;
    }
    // Each object is kept in the window of its id.
    const std::vector<int> ids = *WindowsFor(objects, windows_);
    const std::int64_t write = WindowsWriteTicks(windows_);
    const std::int64_t dts = pts - lead;

    Composition composition =
        NextComposition(same_epoch ? CompositionState::Normal : CompositionState::EpochStart);
    for (std::size_t i = 0; i < objects.size(); ++i) {
      composition.objects.push_back(
          {ids[i], ids[i], forced || objects[i].forced, objects[i].x, objects[i].y, std::nullopt});
    }
    AppendCompositionSegment(out, {pts, dts}, composition);
    AppendWindowSegment(out, {pts - write, dts}, windows_);

    QuantisedPictures& quantised = prepared.quantised;
    std::vector<PaletteEntry> entries{{kTransparentIndex, 16, 128, 128, 0}};
    for (std::size_t i = 0; i < quantised.colours.size(); ++i) {
      const YCrCbA c = ToYCrCbA(quantised.colours[i], options_.colour);
      entries.push_back({static_cast<std::uint8_t>(i + 1), c.y, c.cr, c.cb, c.a});
    }
    AppendPaletteSegment(out, {dts, dts}, 0, palette_version_, entries);
    shown_objects_ = composition.objects;
    shown_colours_ = static_cast<int>(quantised.colours.size());

    std::int64_t decode_start = dts;
    for (std::size_t i = 0; i < objects.size(); ++i) {
      const IndexedPicture& indexed = quantised.pictures[i];
      const std::int64_t decoded = decode_start + DecodeTicks(indexed.width, indexed.height);
      AppendObjectSegments(out, {decoded, decode_start}, ids[i], object_version_, indexed.width,
                           indexed.height, prepared.coded[i]);
      decode_start = decoded;
    }
    AppendEndSegment(out, {decode_start, decode_start});
    last_shown_ = pts;
    if (shown_) {
      EndShown(pts);
      showing_ = ShownPicture{pts, pts, number, {}, quantised.colours};
      for (std::size_t i = 0; i < shown_objects_.size(); ++i) {
        showing_->objects.push_back({shown_objects_[i].x, shown_objects_[i].y,
                                     shown_objects_[i].forced, quantised.pictures[i]});
      }
    }
    shown_indices_ = std::move(quantised.pictures);
  }

  // The new colours of the shown objects' palette when `objects` are the
  // shown objects in other colours only (a fade), so a palette update can
  // show them; nothing otherwise.
  std::optional<std::vector<Rgba>> Refit(const std::vector<PlacedPicture>& objects,
                                         bool forced) const {
    if (objects.size() != shown_objects_.size() || objects.empty() || palette_version_ >= 255) {
      return std::nullopt;
    }
    std::vector<RgbaPicture> pictures;
    for (std::size_t i = 0; i < objects.size(); ++i) {
      if (objects[i].x != shown_objects_[i].x || objects[i].y != shown_objects_[i].y ||
          (forced || objects[i].forced) != shown_objects_[i].forced) {
        return std::nullopt;
      }
      pictures.push_back(objects[i].picture);
    }
    return RefitPalette(shown_indices_, pictures, shown_colours_, kRefitTolerance);
  }

  // The earliest a palette update may be shown: a frame after the last set,
  // less a millisecond for times given in whole milliseconds.
  std::int64_t EarliestPaletteUpdate() const {
    return last_shown_ + std::max<std::int64_t>(0, FrameTicks(options_.video.frame_rate) - 90);
  }

  void UpdatePalette(std::int64_t pts, const std::vector<Rgba>& colours, int number,
                     std::vector<std::uint8_t>& out) {
    ++palette_version_;
    Composition composition = NextComposition(CompositionState::Normal);
    composition.palette_update_only = true;
    composition.objects = shown_objects_;
    AppendCompositionSegment(out, {pts, pts}, composition);
    std::vector<PaletteEntry> entries{{kTransparentIndex, 16, 128, 128, 0}};
    for (std::size_t i = 0; i < colours.size(); ++i) {
      const YCrCbA c = ToYCrCbA(colours[i], options_.colour);
      entries.push_back({static_cast<std::uint8_t>(i + 1), c.y, c.cr, c.cb, c.a});
    }
    AppendPaletteSegment(out, {pts, pts}, 0, palette_version_, entries);
    AppendEndSegment(out, {pts, pts});
    last_shown_ = pts;
    if (shown_ && showing_) {
      // The objects stay on screen in the new colours; the picture before
      // the update keeps its own copy, as it is shown until now.
      std::vector<ShownObject> objects = showing_->objects;
      EndShown(pts);
      showing_ = ShownPicture{pts, pts, number, std::move(objects), colours};
    }
  }

  void Clear(std::int64_t pts, std::vector<std::uint8_t>& out) {
    const std::int64_t dts = pts - ClearLead();
    AppendCompositionSegment(out, {pts, dts}, NextComposition(CompositionState::Normal));
    AppendWindowSegment(out, {dts, dts}, windows_);
    AppendEndSegment(out, {dts, dts});
    last_shown_ = pts;
    shown_objects_.clear();
    EndShown(pts);
  }

 private:
  // How far (premultiplied levels) the pixels of one palette index may
  // part in a palette update: a fade of exact colours keeps them equal;
  // quantised ones spread by about the quantiser's error.
  static constexpr int kRefitTolerance = 4;

  // Gives the picture shown until now to the sink, ending at `end`.
  void EndShown(std::int64_t end) {
    if (showing_) {
      showing_->end = end;
      shown_(*showing_);
      showing_.reset();
    }
  }

  std::vector<Window> WindowsOf(const std::vector<PlacedPicture>& objects,
                                const std::optional<Window>& reach) const {
    if (reach && objects.size() == 1) {
      // The reach cut to the video, when it holds the object.
      const int left = std::max(0, reach->x);
      const int top = std::max(0, reach->y);
      const int right = std::min(options_.video.width, reach->x + reach->width);
      const int bottom = std::min(options_.video.height, reach->y + reach->height);
      const Window window{0, left, top, right - left, bottom - top};
      if (right > left && bottom > top && Inside(objects[0], window)) {
        return {window};
      }
    }
    std::vector<Window> windows;
    for (std::size_t i = 0; i < objects.size(); ++i) {
      windows.push_back({static_cast<int>(i), objects[i].x, objects[i].y, objects[i].picture.width,
                         objects[i].picture.height});
    }
    return windows;
  }

  Composition NextComposition(CompositionState state) {
    Composition composition;
    composition.video_width = options_.video.width;
    composition.video_height = options_.video.height;
    composition.frame_rate = options_.video.frame_rate;
    composition.number = number_++;
    composition.state = state;
    return composition;
  }

  const StreamOptions& options_;
  const std::int64_t plane_clear_;
  std::vector<Window> windows_;
  int number_ = 0;
  int palette_version_ = 0;
  int object_version_ = 0;
  std::int64_t last_shown_ = 0;
  // The objects and index pictures of the last set shown, and its palette
  // size; no objects after a clear.
  std::vector<CompositionObject> shown_objects_;
  std::vector<IndexedPicture> shown_indices_;
  int shown_colours_ = 0;
  // Where shown pictures go, and the one shown now, for the sink.
  ShownPictureSink shown_;
  std::optional<ShownPicture> showing_;
};

// Writes shown intervals one after another, each starting no earlier than
// the one before.
class IntervalWriter {
 public:
  IntervalWriter(const StreamOptions& options, ShownPictureSink shown)
      : options_(options), writer_(options, std::move(shown)) {}

  // Returns false when a droppable interval was left out.
  bool Add(const ShownInterval& interval) {
    PreparedPicture picture{interval.start,     interval.end,
                            interval.forced,    PrepareObjects(interval.regions, options_.video),
                            interval.droppable, interval.reach};
    return Add(interval.number, std::move(picture));
  }

  bool Add(int number, PreparedPicture picture) {
    const std::vector<PlacedPicture>& objects = picture.objects.objects;
    std::int64_t start = picture.start;
    const std::int64_t end = picture.end;
    if (objects.empty()) {
      return true;
    }
    const bool replaces = showing_ && shown_end_ >= start;
    if (showing_ && !replaces) {
      writer_.Clear(shown_end_, stream_.bytes);
    }
    // A picture that is the shown one in other colours (a fade) is a
    // palette update; anything else a set with its objects.
    const std::optional<std::vector<Rgba>> recoloured =
        replaces ? writer_.Refit(objects, picture.forced) : std::nullopt;
    const auto [lead, same_epoch] = writer_.Lead(objects, replaces, picture.reach);
    const std::int64_t earliest =
        recoloured ? writer_.EarliestPaletteUpdate() : writer_.EarliestShow(lead);
    if (picture.droppable && replaces && start < earliest) {
      // A step of a change shows from the first frame the player can show
      // it at; when none is left before the step ends, the shown picture
      // stays in its place.
      start = FrameStartAtOrAfter(options_.video.frame_rate, earliest);
      if (start >= picture.end) {
        shown_end_ = std::max(shown_end_, picture.end);
        return false;
      }
    }
    start = std::max(start, earliest);
    LateCue late{number, 0, 0, start};
    if (start > picture.start) {
      late.start_late_ms = CeilMilliseconds(start - picture.start);
    }
    if (recoloured) {
      writer_.UpdatePalette(start, *recoloured, number, stream_.bytes);
    } else {
      writer_.Show(start, std::move(picture.objects), same_epoch, picture.forced, picture.reach,
                   number, stream_.bytes);
    }
    // The clear decodes after this set is shown, so the picture lasts at
    // least as long as clearing takes (and at least one tick).
    shown_end_ = std::max(end, start + std::max<std::int64_t>(1, writer_.ClearLead()));
    if (shown_end_ > end) {
      late.end_late_ms = CeilMilliseconds(shown_end_ - end);
    }
    if (late.start_late_ms > 0 || late.end_late_ms > 0) {
      stream_.late.push_back(late);
    }
    showing_ = true;
    return true;
  }

  std::vector<std::uint8_t> TakeBytes() { return std::exchange(stream_.bytes, {}); }

  PgsStream Finish() {
    if (showing_) {
      writer_.Clear(shown_end_, stream_.bytes);
      showing_ = false;
    }
    return std::move(stream_);
  }

 private:
  const StreamOptions& options_;
  SetWriter writer_;
  PgsStream stream_;
  bool showing_ = false;
  std::int64_t shown_end_ = 0;  // when the shown picture is due to be cleared
};

}  // namespace

struct PgsStreamWriter::State {
  State(const StreamOptions& chosen, ShownPictureSink shown)
      : options(chosen), intervals(options, std::move(shown)) {}
  StreamOptions options;
  IntervalWriter intervals;
  int added = 0;
};

PgsStreamWriter::PgsStreamWriter(const StreamOptions& options, ShownPictureSink shown)
    : state_(std::make_unique<State>(options, std::move(shown))) {}

PgsStreamWriter::~PgsStreamWriter() = default;

namespace {

// Quantises and run-length codes objects already laid out.
PreparedObjects CodeObjects(std::vector<PlacedPicture> objects) {
  PreparedObjects prepared;
  prepared.objects = std::move(objects);
  if (prepared.objects.empty()) {
    return prepared;
  }
  std::vector<const RgbaPicture*> pictures;
  pictures.reserve(prepared.objects.size());
  for (const PlacedPicture& object : prepared.objects) {
    pictures.push_back(&object.picture);
  }
  prepared.quantised = QuantisePictures(pictures);
  for (std::size_t i = 0; i < prepared.quantised.pictures.size(); ++i) {
    const IndexedPicture& indexed = prepared.quantised.pictures[i];
    prepared.coded.push_back(
        EncodeRunLength(prepared.quantised.runs[i], indexed.width, indexed.height));
  }
  return prepared;
}

}  // namespace

PreparedObjects PrepareObjects(std::span<const PlacedPicture* const> regions,
                               const VideoFormat& video) {
  return CodeObjects(LayOutObjects(regions, video.width, video.height));
}

PreparedObjects PrepareObjects(std::vector<PlacedPicture>&& regions, const VideoFormat& video) {
  return CodeObjects(LayOutObjects(std::move(regions), video.width, video.height));
}

PreparedPicture PreparePicture(const TimedPicture& picture, const VideoFormat& video) {
  PreparedPicture prepared{picture.start,     picture.end,  picture.forced, {},
                           picture.droppable, picture.reach};
  // A picture shown for no time is written as nothing, so it is not drawn.
  if (picture.end > picture.start) {
    std::vector<const PlacedPicture*> regions;
    for (const PlacedPicture& region : picture.regions) {
      regions.push_back(&region);
    }
    prepared.objects = PrepareObjects(regions, video);
  }
  return prepared;
}

PreparedPicture PreparePicture(TimedPicture&& picture, const VideoFormat& video) {
  PreparedPicture prepared{picture.start,     picture.end,  picture.forced, {},
                           picture.droppable, picture.reach};
  if (picture.end > picture.start) {
    prepared.objects = PrepareObjects(std::move(picture.regions), video);
  }
  return prepared;
}

bool PgsStreamWriter::add(const TimedPicture& picture) {
  return add(PreparePicture(picture, state_->options.video));
}

bool PgsStreamWriter::add(PreparedPicture&& picture) {
  const int number = ++state_->added;
  return picture.end <= picture.start || state_->intervals.Add(number, std::move(picture));
}

std::vector<std::uint8_t> PgsStreamWriter::takeBytes() {
  return state_->intervals.TakeBytes();
}

PgsStream PgsStreamWriter::finish() {
  return state_->intervals.Finish();
}

PgsStream WritePgsStream(std::span<const TimedPicture> pictures, const StreamOptions& options) {
  IntervalWriter writer(options, {});
  for (const ShownInterval& interval : SplitIntoShownIntervals(pictures)) {
    writer.Add(interval);
  }
  return writer.Finish();
}

}  // namespace tesmora::pgs
