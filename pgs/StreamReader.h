#pragma once

// Reading a PGS stream's bytes into segments and display sets, whatever the
// bytes are: every length is checked against what is left before it is
// used, and nothing is kept beyond a copy of the segments read.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tesmora::pgs {

// One segment as stored: its header's fields and its payload.
struct Segment {
  std::size_t offset = 0;  // of the "PG" in the stream
  std::uint32_t pts = 0;   // 90 kHz ticks
  std::uint32_t dts = 0;
  std::uint8_t type = 0;  // a SegmentType, or any other byte the file holds
  std::vector<std::uint8_t> payload;
};

// Where and why reading stopped before the end of the bytes.
struct ReadStop {
  std::size_t offset = 0;
  std::string reason;  // "no segment (expected \"PG\")", "the stream ends inside a segment"
};

// The segments from a composition segment up to and including the next
// end segment. A set that does not open with a composition segment, or is
// cut off before its end segment, is kept as read; the checker names it.
struct DisplaySet {
  std::vector<Segment> segments;
  bool ended = false;  // closed by an end segment
};

struct StreamReading {
  std::vector<DisplaySet> sets;
  std::optional<ReadStop> stop;
};

// Hands out the display sets of `bytes` one at a time, so that a check
// holds one set rather than the whole stream. Reading stops at the first
// place that does not hold a whole segment.
class DisplaySetReader {
 public:
  explicit DisplaySetReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  // The next set, or nothing at the end of the bytes or where reading stopped.
  std::optional<DisplaySet> Next();
  const std::optional<ReadStop>& stop() const { return stop_; }

 private:
  std::optional<Segment> NextSegment();

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  std::optional<Segment> ahead_;  // a composition segment that opens the next set
  std::optional<ReadStop> stop_;
};

// Every display set of `bytes` at once.
StreamReading ReadStream(std::span<const std::uint8_t> bytes);

}  // namespace tesmora::pgs
