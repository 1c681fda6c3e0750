#include "pgs/StreamCheck.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>

#include "pgs/RunLengthCheck.h"
#include "pgs/SegmentPayloads.h"
#include "pgs/SegmentTypes.h"
#include "pgs/StreamReader.h"

namespace tesmora::pgs {
namespace {

// The checker reads nothing but payloads read back from the stream.
using namespace payload;

using Ticks = std::int64_t;

// Writers round each object's and window's time up on its own, so a DTS
// may fall this many ticks short of the model's sum without a fault.
constexpr Ticks kRoundingSlack = 4;

// Frame times given in whole milliseconds (as subtitle files and libass
// give them) fall up to a millisecond short of the frame's exact time, so a
// palette update on the next frame may come that much less than a frame
// after the set before.
constexpr Ticks kFrameTimeSlack = 90;
constexpr std::int64_t kObjectBuffer = 4 * 1024 * 1024;

Ticks TicksFor(std::int64_t bytes, std::int64_t rate) {
  return (bytes * kClockRate + rate - 1) / rate;
}

std::int64_t AreaOf(const Area& area) {
  return std::int64_t{area.width} * area.height;
}

std::string Size(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

std::string Placed(int x, int y, int width, int height) {
  return "at (" + std::to_string(x) + "," + std::to_string(y) + ") size " + Size(width, height);
}

std::string Milliseconds(Ticks ticks) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", static_cast<double>(ticks) / 90.0);
  return text;
}

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

bool Inside(const Area& inner, const Area& outer) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         std::int64_t{inner.x} + inner.width <= std::int64_t{outer.x} + outer.width &&
         std::int64_t{inner.y} + inner.height <= std::int64_t{outer.y} + outer.height;
}

bool Overlap(const Area& a, const Area& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The ticks of one frame at a PCS frame-rate code, rounded down; nothing
// for an unknown code.
std::optional<Ticks> FrameTicks(std::uint8_t code) {
  switch (static_cast<FrameRateCode>(code)) {
    case FrameRateCode::Film:
      return 90000 * 1001 / 24000;
    case FrameRateCode::Film24:
      return 90000 / 24;
    case FrameRateCode::Pal:
      return 90000 / 25;
    case FrameRateCode::Ntsc:
      return 90000 * 1001 / 30000;
    case FrameRateCode::Pal50:
      return 90000 / 50;
    case FrameRateCode::Ntsc60:
      return 90000 * 1001 / 60000;
  }
  return std::nullopt;
}

std::string SegmentName(std::uint8_t type) {
  switch (static_cast<SegmentType>(type)) {
    case SegmentType::Palette:
      return "palette";
    case SegmentType::Object:
      return "object";
    case SegmentType::Composition:
      return "composition";
    case SegmentType::Window:
      return "window";
    case SegmentType::End:
      return "end";
  }
  return "unknown";
}

struct StoredObject {
  int version = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> data;
};

struct PendingObject {
  int version = 0;
  int width = 0;
  int height = 0;
  int dataLength = 0;
  std::vector<std::uint8_t> data;
};

// What an epoch has defined so far.
struct Epoch {
  int width = 0;
  int height = 0;
  std::optional<std::vector<Window>> windows;
  std::map<int, Palette> palettes;
  std::map<int, StoredObject> objects;
  std::int64_t bufferBytes = 0;  // the pixels of `objects`, one byte each
  bool tooManyObjectsSaid = false;
  bool bufferSaid = false;
};

class Checker {
 public:
  CheckReport Run(std::span<const std::uint8_t> bytes);

 private:
  void Say(std::string message) {
    if (report_.breaches.size() < kMostListedBreaches) {
      report_.breaches.push_back({setNumber_, setPts_, std::move(message)});
    } else {
      ++report_.unlisted;
    }
  }
  void CheckSet(const DisplaySet& set);
  void StartComposition(const Composition& composition);
  void TakeWindows(const std::vector<Window>& windows, const Composition* composition);
  void TakePalette(const Palette& palette);
  void TakeFragment(const ObjectFragment& fragment);
  void CompleteObject(int id, PendingObject object);
  void CheckPlacement(const Composition& composition);
  void CheckTiming(const Composition& composition, const Segment& pcs);

  CheckReport report_;
  std::size_t setNumber_ = 0;
  Ticks setPts_ = 0;
  Epoch epoch_;
  bool epochSeen_ = false;
  std::optional<Ticks> previousPts_;
  std::optional<int> previousNumber_;
  // Of the set being checked.
  std::map<int, PendingObject> pending_;
  std::vector<Window> setWindows_;
  bool setHasWindows_ = false;
  std::vector<std::int64_t> decodedObjects_;
};

CheckReport Checker::Run(std::span<const std::uint8_t> bytes) {
  DisplaySetReader reader(bytes);
  bool lastEnded = true;
  while (const std::optional<DisplaySet> set = reader.Next()) {
    CheckSet(*set);
    lastEnded = set->ended;
  }
  report_.sets = setNumber_;
  const std::optional<ReadStop>& stop = reader.stop();
  if (report_.sets == 0 && !stop) {
    ++setNumber_;
    Say("the stream holds no display set");
  }
  if (stop) {
    if (lastEnded) {
      ++setNumber_;  // the set the stop falls in
    }
    Say("at byte " + std::to_string(stop->offset) + ": " + stop->reason +
        "; nothing after it is read");
  }
  return report_;
}

void Checker::CheckSet(const DisplaySet& set) {
  ++setNumber_;
  const Segment& head = set.segments.front();
  setPts_ = head.pts;
  pending_.clear();
  setWindows_.clear();
  setHasWindows_ = false;
  decodedObjects_.clear();

  std::optional<Composition> composition;
  if (head.type != static_cast<std::uint8_t>(SegmentType::Composition)) {
    Say("the display set does not start with a composition segment");
  } else {
    Parsed<Composition> parsed = ParseComposition(head.payload);
    if (!parsed.sizeFault.empty()) {
      Say(parsed.sizeFault);
    }
    composition = std::move(parsed.fields);
    if (composition) {
      StartComposition(*composition);
    }
  }

  for (const Segment& segment : set.segments) {
    if (segment.dts != 0 && segment.dts > segment.pts) {
      Say("the " + SegmentName(segment.type) + " segment decodes at " + ClockText(segment.dts) +
          ", after it is shown at " + ClockText(segment.pts));
    }
    if (&segment == &head && composition) {
      continue;
    }
    switch (static_cast<SegmentType>(segment.type)) {
      case SegmentType::Composition:
        break;  // only ever first: a composition segment opens a set
      case SegmentType::Window: {
        const auto parsed = ParseWindows(segment.payload);
        if (!parsed.sizeFault.empty()) {
          Say(parsed.sizeFault);
        }
        if (parsed.fields) {
          TakeWindows(*parsed.fields, composition ? &*composition : nullptr);
        }
        break;
      }
      case SegmentType::Palette: {
        const auto parsed = ParsePalette(segment.payload);
        if (!parsed.sizeFault.empty()) {
          Say(parsed.sizeFault);
        }
        if (parsed.fields) {
          TakePalette(*parsed.fields);
        }
        break;
      }
      case SegmentType::Object: {
        const auto parsed = ParseObjectFragment(segment.payload);
        if (!parsed.sizeFault.empty()) {
          Say(parsed.sizeFault);
        }
        if (parsed.fields) {
          TakeFragment(*parsed.fields);
        }
        break;
      }
      case SegmentType::End:
        if (!segment.payload.empty()) {
          const std::size_t size = segment.payload.size();
          Say("end segment of " + std::to_string(size) + (size == 1 ? " byte" : " bytes") +
              "; it should be empty");
        }
        break;
      default:
        Say("unknown segment type " + Hex(segment.type) + " at byte " +
            std::to_string(segment.offset));
        break;
    }
  }
  for (const auto& [id, object] : pending_) {
    Say("object " + std::to_string(id) + " has no last fragment");
  }
  if (!set.ended) {
    Say("the display set has no end segment");
  }
  if (composition) {
    CheckPlacement(*composition);
    CheckTiming(*composition, head);
  }
}

void Checker::StartComposition(const Composition& composition) {
  const bool epochStart =
      composition.state == static_cast<std::uint8_t>(CompositionState::EpochStart);
  if (epochStart) {
    epoch_ = Epoch{};
    epoch_.width = composition.width;
    epoch_.height = composition.height;
    ++report_.epochs;
  } else if (!epochSeen_) {
    Say("the stream's first display set is not an epoch start");
    epoch_.width = composition.width;
    epoch_.height = composition.height;
    ++report_.epochs;
  } else if (composition.width != epoch_.width || composition.height != epoch_.height) {
    Say("the frame size changes from " + Size(epoch_.width, epoch_.height) + " to " +
        Size(composition.width, composition.height) + " within an epoch");
  }
  epochSeen_ = true;
  if (composition.state != static_cast<std::uint8_t>(CompositionState::Normal) &&
      composition.state != static_cast<std::uint8_t>(CompositionState::AcquisitionPoint) &&
      !epochStart) {
    Say("unknown composition state " + Hex(composition.state));
  }
  if (!FrameTicks(composition.frameRate)) {
    Say("unknown frame rate code " + Hex(composition.frameRate));
  }
  if (previousNumber_ && composition.number != ((*previousNumber_ + 1) & 0xFFFF)) {
    Say("composition number " + std::to_string(composition.number) + " follows " +
        std::to_string(*previousNumber_) + "; expected " +
        std::to_string((*previousNumber_ + 1) & 0xFFFF));
  }
  previousNumber_ = composition.number;
}

void Checker::TakeWindows(const std::vector<Window>& windows, const Composition* composition) {
  if (windows.size() > static_cast<std::size_t>(kMostWindows)) {
    Say(std::to_string(windows.size()) + " windows; at most " + std::to_string(kMostWindows));
  }
  const Area frame{0, 0, epoch_.width, epoch_.height};
  for (std::size_t n = 0; n < windows.size(); ++n) {
    const Area& area = windows[n].area;
    if (!Inside(area, frame)) {
      Say("window " + std::to_string(windows[n].id) + " " +
          Placed(area.x, area.y, area.width, area.height) + " goes past the " +
          Size(frame.width, frame.height) + " frame");
    }
    // The first later window it overlaps: one line a window, however many.
    const auto other =
        std::find_if(windows.begin() + static_cast<std::ptrdiff_t>(n) + 1, windows.end(),
                     [&](const Window& later) { return Overlap(area, later.area); });
    if (other != windows.end()) {
      Say("windows " + std::to_string(windows[n].id) + " and " + std::to_string(other->id) +
          " overlap");
    }
  }
  const bool epochStart =
      composition && composition->state == static_cast<std::uint8_t>(CompositionState::EpochStart);
  const auto same = [&](const std::vector<Window>& kept) {
    return std::equal(kept.begin(), kept.end(), windows.begin(), windows.end(),
                      [](const Window& a, const Window& b) {
                        return a.id == b.id && a.area.x == b.area.x && a.area.y == b.area.y &&
                               a.area.width == b.area.width && a.area.height == b.area.height;
                      });
  };
  if (!epochStart && epoch_.windows && !same(*epoch_.windows)) {
    Say("the windows change within an epoch");
  }
  if (epochStart || !epoch_.windows) {
    epoch_.windows = windows;
  }
  setWindows_ = windows;
  setHasWindows_ = true;
}

void Checker::TakePalette(const Palette& palette) {
  if (palette.id >= kMostPalettes) {
    Say("palette " + std::to_string(palette.id) + " is out of range 0 to " +
        std::to_string(kMostPalettes - 1));
  }
  const auto kept = epoch_.palettes.find(palette.id);
  if (kept != epoch_.palettes.end() && kept->second.entries != palette.entries) {
    const int expected = (kept->second.version + 1) & 0xFF;
    if (palette.version != expected) {
      Say("palette " + std::to_string(palette.id) + " changes from version " +
          std::to_string(kept->second.version) + " to " + std::to_string(palette.version) +
          "; expected " + std::to_string(expected));
    }
  }
  epoch_.palettes[palette.id] = palette;
}

void Checker::TakeFragment(const ObjectFragment& fragment) {
  const std::string name = "object " + std::to_string(fragment.id);
  auto open = pending_.find(fragment.id);
  if (fragment.first) {
    if (open != pending_.end()) {
      Say(name + " starts again before its last fragment");
    }
    PendingObject object{
        fragment.version, fragment.width, fragment.height, fragment.dataLength, {}};
    open = pending_.insert_or_assign(fragment.id, std::move(object)).first;
  } else if (open == pending_.end()) {
    Say(name + " continues without a first fragment");
    return;
  } else if (open->second.version != fragment.version) {
    Say(name + " changes version between its fragments");
  }
  open->second.data.insert(open->second.data.end(), fragment.runLengths.begin(),
                           fragment.runLengths.end());
  if (fragment.last) {
    PendingObject object = std::move(open->second);
    pending_.erase(open);
    CompleteObject(fragment.id, std::move(object));
  }
}

void Checker::CompleteObject(int id, PendingObject object) {
  const std::string name = "object " + std::to_string(id);
  const auto held = static_cast<std::int64_t>(object.data.size());
  if (held + 4 != object.dataLength) {
    Say(name + " holds " + std::to_string(held) + " bytes of run-length data; its first " +
        "fragment announces " + std::to_string(std::max(object.dataLength - 4, 0)));
  }
  const auto fits = [](int side) {
    return side >= kSmallestObjectSide && side <= kLargestObjectSide;
  };
  if (!fits(object.width) || !fits(object.height)) {
    Say(name + " is " + Size(object.width, object.height) + "; its sides must be " +
        std::to_string(kSmallestObjectSide) + " to " + std::to_string(kLargestObjectSide));
  }
  for (std::string& fault : CheckRunLengths(id, object.width, object.height, object.data)) {
    Say(std::move(fault));
  }
  decodedObjects_.push_back(std::int64_t{object.width} * object.height);

  const auto kept = epoch_.objects.find(id);
  if (kept != epoch_.objects.end() &&
      (kept->second.data != object.data || kept->second.width != object.width ||
       kept->second.height != object.height)) {
    const int expected = (kept->second.version + 1) & 0xFF;
    if (object.version != expected) {
      Say(name + " changes from version " + std::to_string(kept->second.version) + " to " +
          std::to_string(object.version) + "; expected " + std::to_string(expected));
    }
  }
  epoch_.objects[id] =
      StoredObject{object.version, object.width, object.height, std::move(object.data)};
  if (epoch_.objects.size() > static_cast<std::size_t>(kMostObjectsPerEpoch) &&
      !epoch_.tooManyObjectsSaid) {
    epoch_.tooManyObjectsSaid = true;
    Say(std::to_string(epoch_.objects.size()) + " objects in one epoch; at most " +
        std::to_string(kMostObjectsPerEpoch));
  }
  if (epoch_.bufferBytes > kObjectBuffer && !epoch_.bufferSaid) {
    epoch_.bufferSaid = true;
    Say("the epoch's objects take " + std::to_string(epoch_.bufferBytes) +
        " bytes; the object buffer holds " + std::to_string(kObjectBuffer));
  }
}

void Checker::CheckPlacement(const Composition& composition) {
  if (composition.objects.size() > static_cast<std::size_t>(kMostObjectsShown)) {
    Say(std::to_string(composition.objects.size()) + " objects shown; at most " +
        std::to_string(kMostObjectsShown));
  }
  const bool usesPalette = !composition.objects.empty() || composition.paletteOnly;
  if (composition.paletteId >= kMostPalettes) {
    Say("palette " + std::to_string(composition.paletteId) + " is out of range 0 to " +
        std::to_string(kMostPalettes - 1));
  } else if (usesPalette && !epoch_.palettes.contains(composition.paletteId)) {
    Say("palette " + std::to_string(composition.paletteId) + " is used but not sent in this epoch");
  }
  const Area frame{0, 0, composition.width, composition.height};
  for (const CompositionObject& shown : composition.objects) {
    const std::string name = "object " + std::to_string(shown.objectId);
    const auto object = epoch_.objects.find(shown.objectId);
    if (object == epoch_.objects.end()) {
      Say(name + " is shown but not sent in this epoch");
    }
    const Window* window = nullptr;
    if (epoch_.windows) {
      const auto found =
          std::find_if(epoch_.windows->begin(), epoch_.windows->end(),
                       [&](const Window& candidate) { return candidate.id == shown.windowId; });
      window = found == epoch_.windows->end() ? nullptr : &*found;
    }
    if (window == nullptr) {
      Say(name + " is placed in window " + std::to_string(shown.windowId) +
          ", which this epoch does not define");
    }
    if (object == epoch_.objects.end()) {
      continue;
    }
    Area area{shown.x, shown.y, object->second.width, object->second.height};
    if (shown.cropped) {
      const Area whole{0, 0, object->second.width, object->second.height};
      if (!Inside(shown.crop, whole)) {
        Say(name + " is cropped " +
            Placed(shown.crop.x, shown.crop.y, shown.crop.width, shown.crop.height) +
            ", past its own " + Size(whole.width, whole.height));
      }
      area.width = shown.crop.width;
      area.height = shown.crop.height;
    }
    if (!Inside(area, frame)) {
      Say(name + " " + Placed(area.x, area.y, area.width, area.height) + " goes past the " +
          Size(frame.width, frame.height) + " frame");
    }
    if (window != nullptr && !Inside(area, window->area)) {
      const Area& bounds = window->area;
      Say(name + " " + Placed(area.x, area.y, area.width, area.height) + " goes past window " +
          std::to_string(window->id) + " " +
          Placed(bounds.x, bounds.y, bounds.width, bounds.height));
    }
  }
}

void Checker::CheckTiming(const Composition& composition, const Segment& pcs) {
  const Ticks pts = pcs.pts;
  if (previousPts_ && pts <= *previousPts_) {
    Say("shown at " + ClockText(pts) + ", not after the previous display set at " +
        ClockText(*previousPts_));
  }
  // The decoder model: an epoch start clears the plane while the objects
  // decode, then the windows are written.
  Ticks decode = 0;
  for (const std::int64_t pixels : decodedObjects_) {
    decode += TicksFor(pixels, kDecodeRate);
  }
  if (composition.state == static_cast<std::uint8_t>(CompositionState::EpochStart)) {
    decode = std::max(
        decode, TicksFor(std::int64_t{composition.width} * composition.height, kPlaneWriteRate));
  }
  // A palette-only set changes the colour table the shown plane is read
  // through; nothing is decoded or written to the plane.
  Ticks write = 0;
  if (!composition.paletteOnly) {
    if (setHasWindows_) {
      for (const Window& window : setWindows_) {
        write += TicksFor(AreaOf(window.area), kPlaneWriteRate);
      }
    } else if (epoch_.windows) {
      for (const Window& window : *epoch_.windows) {
        const bool used = std::any_of(
            composition.objects.begin(), composition.objects.end(),
            [&](const CompositionObject& shown) { return shown.windowId == window.id; });
        write += used ? TicksFor(AreaOf(window.area), kPlaneWriteRate) : 0;
      }
    }
  }
  const Ticks needed = decode + write;
  if (pcs.dts != 0 && pcs.dts <= pts && pts - pcs.dts + kRoundingSlack < needed) {
    Say("decoding from " + ClockText(pcs.dts) + " leaves " + Milliseconds(pts - pcs.dts) +
        " before it is shown; decoding and writing take " + Milliseconds(needed));
  }
  const Ticks start = pcs.dts != 0 ? std::min<Ticks>(pcs.dts, pts) : pts - needed;
  if (previousPts_ && start < *previousPts_ && pts > *previousPts_) {
    Say("decoding starts at " + ClockText(std::max<Ticks>(start, 0)) +
        ", before the previous display set is shown at " + ClockText(*previousPts_));
  }
  const std::optional<Ticks> frame = FrameTicks(composition.frameRate);
  if (composition.paletteOnly && previousPts_ && frame && pts > *previousPts_ &&
      pts - *previousPts_ + kFrameTimeSlack < *frame) {
    Say("palette update " + Milliseconds(pts - *previousPts_) +
        " after the previous display set; it needs at least one frame (" + Milliseconds(*frame) +
        ")");
  }
  previousPts_ = pts;
}

}  // namespace

CheckReport CheckStream(std::span<const std::uint8_t> bytes) {
  return Checker{}.Run(bytes);
}

std::string ClockText(std::int64_t ticks) {
  const std::int64_t ms = std::max<std::int64_t>(ticks, 0) / 90;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld",
                static_cast<long long>(ms / 3'600'000), static_cast<long long>(ms / 60'000 % 60),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
  return text;
}

std::string BreachLine(const Breach& breach) {
  return "display set " + std::to_string(breach.set) + " at " + ClockText(breach.pts) + ": " +
         breach.message;
}

}  // namespace tesmora::pgs
