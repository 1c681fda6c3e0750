#include "pgs/StreamReader.h"

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs {
namespace {

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
         std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
}

// Opens a new set for `segment`, or adds it to the one still open.
void Place(StreamReading& reading, Segment segment) {
  const bool opens = segment.type == static_cast<std::uint8_t>(SegmentType::Composition);
  if (reading.sets.empty() || reading.sets.back().ended || opens) {
    reading.sets.emplace_back();
  }
  DisplaySet& set = reading.sets.back();
  set.ended = segment.type == static_cast<std::uint8_t>(SegmentType::End);
  set.segments.push_back(std::move(segment));
}

}  // namespace

StreamReading ReadStream(std::span<const std::uint8_t> bytes) {
  StreamReading reading;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t left = bytes.size() - at;
    if (bytes[at] != kMagic0 || (left >= 2 && bytes[at + 1] != kMagic1)) {
      reading.stop = ReadStop{at, "no segment (expected \"PG\")"};
      break;
    }
    if (left < kSegmentHeaderSize) {
      reading.stop = ReadStop{at, "the stream ends inside a segment header"};
      break;
    }
    const std::size_t size = std::size_t{bytes[at + 11]} << 8 | bytes[at + 12];
    if (left - kSegmentHeaderSize < size) {
      reading.stop = ReadStop{at, "the stream ends inside a segment"};
      break;
    }
    Segment segment;
    segment.offset = at;
    segment.pts = Read32(bytes, at + 2);
    segment.dts = Read32(bytes, at + 6);
    segment.type = bytes[at + 10];
    const auto payload = bytes.subspan(at + kSegmentHeaderSize, size);
    segment.payload.assign(payload.begin(), payload.end());
    Place(reading, std::move(segment));
    at += kSegmentHeaderSize + size;
  }
  return reading;
}

}  // namespace tesmora::pgs
