#pragma once

// Builds PGS streams byte by byte for the tests: segments with any header
// values, and cues laid out as the decoder model asks.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs::testing {

using Bytes = std::vector<std::uint8_t>;

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct Shown {
  Shown(int object, int window, int left, int top)
      : objectId(object), windowId(window), x(left), y(top) {}
  int objectId = 0;
  int windowId = 0;
  int x = 0;
  int y = 0;
  bool cropped = false;
  Rect crop;
};

struct WindowAt {
  int id = 0;
  Rect area;
};

inline void Put16(Bytes& bytes, int value) {
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  bytes.push_back(static_cast<std::uint8_t>(value));
}

inline void Put32(Bytes& bytes, std::uint32_t value) {
  Put16(bytes, static_cast<int>(value >> 16));
  Put16(bytes, static_cast<int>(value & 0xFFFF));
}

// Lines of `width` pixels of colour 1 written as one long coloured run each.
inline Bytes SolidRunLengths(int width, int height) {
  Bytes data;
  for (int line = 0; line < height; ++line) {
    data.insert(data.end(), {0x00, static_cast<std::uint8_t>(0xC0 | width >> 8),
                             static_cast<std::uint8_t>(width), 0x01, 0x00, 0x00});
  }
  return data;
}

class StreamBuilder {
 public:
  StreamBuilder& Segment(SegmentType type, std::uint32_t pts, std::uint32_t dts,
                         const Bytes& payload) {
    bytes_.insert(bytes_.end(), {kMagic0, kMagic1});
    Put32(bytes_, pts);
    Put32(bytes_, dts);
    bytes_.push_back(static_cast<std::uint8_t>(type));
    Put16(bytes_, static_cast<int>(payload.size()));
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    return *this;
  }

  StreamBuilder& Composition(std::uint32_t pts, std::uint32_t dts, CompositionState state,
                             const std::vector<Shown>& objects, int paletteId = 0,
                             bool paletteOnly = false) {
    Bytes payload;
    Put16(payload, width_);
    Put16(payload, height_);
    payload.push_back(static_cast<std::uint8_t>(FrameRateCode::Film));
    Put16(payload, number_++);
    payload.push_back(static_cast<std::uint8_t>(state));
    payload.push_back(paletteOnly ? kPaletteUpdateOnly : 0);
    payload.push_back(static_cast<std::uint8_t>(paletteId));
    payload.push_back(static_cast<std::uint8_t>(objects.size()));
    for (const Shown& shown : objects) {
      Put16(payload, shown.objectId);
      payload.push_back(static_cast<std::uint8_t>(shown.windowId));
      payload.push_back(shown.cropped ? kObjectCropped : 0);
      Put16(payload, shown.x);
      Put16(payload, shown.y);
      if (shown.cropped) {
        for (const int value : {shown.crop.x, shown.crop.y, shown.crop.width, shown.crop.height}) {
          Put16(payload, value);
        }
      }
    }
    return Segment(SegmentType::Composition, pts, dts, payload);
  }

  StreamBuilder& Windows(std::uint32_t pts, std::uint32_t dts,
                         const std::vector<WindowAt>& windows) {
    Bytes payload{static_cast<std::uint8_t>(windows.size())};
    for (const WindowAt& window : windows) {
      payload.push_back(static_cast<std::uint8_t>(window.id));
      for (const int value :
           {window.area.x, window.area.y, window.area.width, window.area.height}) {
        Put16(payload, value);
      }
    }
    return Segment(SegmentType::Window, pts, dts, payload);
  }

  // Entry 0 transparent and entry 1 white at `alpha`.
  StreamBuilder& Palette(std::uint32_t pts, std::uint32_t dts, int id, int version,
                         std::uint8_t alpha = 0xFF) {
    Bytes payload{static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(version)};
    payload.insert(payload.end(), {0x00, 16, 128, 128, 0x00, 0x01, 235, 128, 128, alpha});
    return Segment(SegmentType::Palette, pts, dts, payload);
  }

  // An object in one fragment.
  StreamBuilder& Object(std::uint32_t pts, std::uint32_t dts, int id, int version, int width,
                        int height, const Bytes& runLengths) {
    Bytes payload;
    Put16(payload, id);
    payload.push_back(static_cast<std::uint8_t>(version));
    payload.push_back(kFirstFragment | kLastFragment);
    const auto length = static_cast<std::uint32_t>(runLengths.size() + 4);
    payload.insert(payload.end(),
                   {static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 8),
                    static_cast<std::uint8_t>(length)});
    Put16(payload, width);
    Put16(payload, height);
    payload.insert(payload.end(), runLengths.begin(), runLengths.end());
    return Segment(SegmentType::Object, pts, dts, payload);
  }

  StreamBuilder& End(std::uint32_t pts, std::uint32_t dts) {
    return Segment(SegmentType::End, pts, dts, {});
  }

  // A cue shown from `start` to `end` (90 kHz ticks) as an epoch start with
  // one solid object in a window of its size, then a clearing set, each
  // decoding as late as the decoder model allows at 1920x1080.
  StreamBuilder& Cue(std::uint32_t start, std::uint32_t end, Rect area) {
    const std::int64_t pixels = std::int64_t{area.width} * area.height;
    const auto ticks = [](std::int64_t bytes, std::int64_t rate) {
      return static_cast<std::uint32_t>((bytes * kClockRate + rate - 1) / rate);
    };
    const std::uint32_t decode = ticks(pixels, kDecodeRate);
    const std::uint32_t write = ticks(pixels, kPlaneWriteRate);
    const std::uint32_t clear = ticks(std::int64_t{width_} * height_, kPlaneWriteRate);
    const std::uint32_t dts = start - (std::max(clear, decode) + write);
    const WindowAt window{0, area};
    Composition(start, dts, CompositionState::EpochStart, {{0, 0, area.x, area.y}});
    Windows(start - write, dts, {window});
    Palette(dts, dts, 0, 0);
    Object(dts + decode, dts, 0, 0, area.width, area.height,
           SolidRunLengths(area.width, area.height));
    End(dts + decode, dts);
    Composition(end, end - write, CompositionState::Normal, {});
    Windows(end - write, end - write, {window});
    return End(end - write, end - write);
  }

  StreamBuilder& FrameSize(int width, int height) {
    width_ = width;
    height_ = height;
    return *this;
  }

  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
  int width_ = 1920;
  int height_ = 1080;
  int number_ = 0;
};

}  // namespace tesmora::pgs::testing
