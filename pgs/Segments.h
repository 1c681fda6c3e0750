#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs {

// The two clock values every segment carries, in 90 kHz ticks; both are
// written modulo 2^32.
struct SegmentTimes {
  std::int64_t pts = 0;
  std::int64_t dts = 0;
};

struct Crop {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// One object shown by a composition, at its place on the video.
struct CompositionObject {
  int object_id = 0;
  int window_id = 0;
  bool forced = false;
  int x = 0;
  int y = 0;
  std::optional<Crop> crop;
};

struct Composition {
  int video_width = 1920;
  int video_height = 1080;
  FrameRateCode frame_rate = FrameRateCode::Film;
  int number = 0;
  CompositionState state = CompositionState::EpochStart;
  bool palette_update_only = false;
  int palette_id = 0;
  std::vector<CompositionObject> objects;
};

struct Window {
  int id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct PaletteEntry {
  std::uint8_t index = 0;
  std::uint8_t y = 16;
  std::uint8_t cr = 128;
  std::uint8_t cb = 128;
  std::uint8_t alpha = 0;
};

// Each function appends one whole segment, header included, to `out`.
void AppendCompositionSegment(std::vector<std::uint8_t>& out, SegmentTimes times,
                              const Composition& composition);
void AppendWindowSegment(std::vector<std::uint8_t>& out, SegmentTimes times,
                         std::span<const Window> windows);
void AppendPaletteSegment(std::vector<std::uint8_t>& out, SegmentTimes times, int palette_id,
                          int version, std::span<const PaletteEntry> entries);
void AppendEndSegment(std::vector<std::uint8_t>& out, SegmentTimes times);

// Appends an object as one or more object segments: the first carries the
// run-length data's length (+4) and the object's size and at most
// kFirstFragmentData bytes of data, each later one at most
// kLaterFragmentData bytes.
void AppendObjectSegments(std::vector<std::uint8_t>& out, SegmentTimes times, int object_id,
                          int version, int width, int height,
                          std::span<const std::uint8_t> run_length);

}  // namespace tesmora::pgs
