#include "pgs/StreamReader.h"

#include "pgs/SegmentTypes.h"

namespace tesmora::pgs {
namespace {

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
         std::uint32_t{bytes[at + 2]} << 8 | std::uint32_t{bytes[at + 3]};
}

}  // namespace

std::optional<Segment> DisplaySetReader::NextSegment() {
  if (stop_ || at_ >= bytes_.size()) {
    return std::nullopt;
  }
  const std::size_t left = bytes_.size() - at_;
  if (bytes_[at_] != kMagic0 || (left >= 2 && bytes_[at_ + 1] != kMagic1)) {
    stop_ = ReadStop{at_, "no segment (expected \"PG\")"};
    return std::nullopt;
  }
  if (left < kSegmentHeaderSize) {
    stop_ = ReadStop{at_, "the stream ends inside a segment header"};
    return std::nullopt;
  }
  const std::size_t size = std::size_t{bytes_[at_ + 11]} << 8 | bytes_[at_ + 12];
  if (left - kSegmentHeaderSize < size) {
    stop_ = ReadStop{at_, "the stream ends inside a segment"};
    return std::nullopt;
  }
  Segment segment;
  segment.offset = at_;
  segment.pts = Read32(bytes_, at_ + 2);
  segment.dts = Read32(bytes_, at_ + 6);
  segment.type = bytes_[at_ + 10];
  const auto payload = bytes_.subspan(at_ + kSegmentHeaderSize, size);
  segment.payload.assign(payload.begin(), payload.end());
  at_ += kSegmentHeaderSize + size;
  return segment;
}

std::optional<DisplaySet> DisplaySetReader::Next() {
  DisplaySet set;
  if (ahead_) {
    set.segments.push_back(std::move(*ahead_));
    ahead_.reset();
  }
  while (std::optional<Segment> segment = NextSegment()) {
    // A composition segment opens a set, so one met inside a set ends it.
    if (segment->type == static_cast<std::uint8_t>(SegmentType::Composition) &&
        !set.segments.empty()) {
      ahead_ = std::move(segment);
      return set;
    }
    set.ended = segment->type == static_cast<std::uint8_t>(SegmentType::End);
    set.segments.push_back(std::move(*segment));
    if (set.ended) {
      return set;
    }
  }
  if (set.segments.empty()) {
    return std::nullopt;
  }
  return set;
}

StreamReading ReadStream(std::span<const std::uint8_t> bytes) {
  StreamReading reading;
  DisplaySetReader reader(bytes);
  while (std::optional<DisplaySet> set = reader.Next()) {
    reading.sets.push_back(std::move(*set));
  }
  reading.stop = reader.stop();
  return reading;
}

}  // namespace tesmora::pgs
