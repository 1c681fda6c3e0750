#include "pgs/Segments.h"

#include <algorithm>

namespace tesmora::pgs {
namespace {

void Put8(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value));
}

void Put16(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

void Put24(std::vector<std::uint8_t>& out, std::size_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

void Put32(std::vector<std::uint8_t>& out, std::int64_t value) {
  const auto wrapped = static_cast<std::uint32_t>(value);
  out.push_back(static_cast<std::uint8_t>(wrapped >> 24));
  out.push_back(static_cast<std::uint8_t>(wrapped >> 16));
  out.push_back(static_cast<std::uint8_t>(wrapped >> 8));
  out.push_back(static_cast<std::uint8_t>(wrapped));
}

void PutHeader(std::vector<std::uint8_t>& out, SegmentTimes times, SegmentType type,
               std::size_t size) {
  out.push_back(kMagic0);
  out.push_back(kMagic1);
  Put32(out, times.pts);
  Put32(out, times.dts);
  Put8(out, static_cast<int>(type));
  Put16(out, static_cast<int>(size));
}

}  // namespace

void AppendCompositionSegment(std::vector<std::uint8_t>& out, SegmentTimes times,
                              const Composition& composition) {
  std::size_t size = 11;
  for (const CompositionObject& object : composition.objects) {
    size += object.crop ? 16 : 8;
  }
  PutHeader(out, times, SegmentType::Composition, size);
  Put16(out, composition.video_width);
  Put16(out, composition.video_height);
  Put8(out, static_cast<int>(composition.frame_rate));
  Put16(out, composition.number & 0xFFFF);
  Put8(out, static_cast<int>(composition.state));
  Put8(out, composition.palette_update_only ? kPaletteUpdateOnly : 0);
  Put8(out, composition.palette_id);
  Put8(out, static_cast<int>(composition.objects.size()));
  for (const CompositionObject& object : composition.objects) {
    Put16(out, object.object_id);
    Put8(out, object.window_id);
    Put8(out, (object.crop ? kObjectCropped : 0) | (object.forced ? kObjectForced : 0));
    Put16(out, object.x);
    Put16(out, object.y);
    if (object.crop) {
      Put16(out, object.crop->x);
      Put16(out, object.crop->y);
      Put16(out, object.crop->width);
      Put16(out, object.crop->height);
    }
  }
}

void AppendWindowSegment(std::vector<std::uint8_t>& out, SegmentTimes times,
                         std::span<const Window> windows) {
  PutHeader(out, times, SegmentType::Window, 1 + 9 * windows.size());
  Put8(out, static_cast<int>(windows.size()));
  for (const Window& window : windows) {
    Put8(out, window.id);
    Put16(out, window.x);
    Put16(out, window.y);
    Put16(out, window.width);
    Put16(out, window.height);
  }
}

void AppendPaletteSegment(std::vector<std::uint8_t>& out, SegmentTimes times, int palette_id,
                          int version, std::span<const PaletteEntry> entries) {
  PutHeader(out, times, SegmentType::Palette, 2 + 5 * entries.size());
  Put8(out, palette_id);
  Put8(out, version & 0xFF);
  for (const PaletteEntry& entry : entries) {
    out.insert(out.end(), {entry.index, entry.y, entry.cr, entry.cb, entry.alpha});
  }
}

void AppendEndSegment(std::vector<std::uint8_t>& out, SegmentTimes times) {
  PutHeader(out, times, SegmentType::End, 0);
}

void AppendObjectSegments(std::vector<std::uint8_t>& out, SegmentTimes times, int object_id,
                          int version, int width, int height,
                          std::span<const std::uint8_t> run_length) {
  std::size_t offset = 0;
  bool first = true;
  do {
    const std::size_t room = first ? kFirstFragmentData : kLaterFragmentData;
    const std::size_t take = std::min(room, run_length.size() - offset);
    const bool last = offset + take == run_length.size();
    PutHeader(out, times, SegmentType::Object, 4 + (first ? 7 : 0) + take);
    Put16(out, object_id);
    Put8(out, version & 0xFF);
    Put8(out, (first ? kFirstFragment : 0) | (last ? kLastFragment : 0));
    if (first) {
      Put24(out, run_length.size() + 4);
      Put16(out, width);
      Put16(out, height);
    }
    out.insert(out.end(), run_length.begin() + static_cast<std::ptrdiff_t>(offset),
               run_length.begin() + static_cast<std::ptrdiff_t>(offset + take));
    offset += take;
    first = false;
  } while (offset < run_length.size());
}

}  // namespace tesmora::pgs
