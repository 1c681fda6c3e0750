// The PGS checker on any bytes. Besides not crashing, its report must be
// the same on every run, every breach must name a display set of the
// stream in one line, and a stream that checks clean must stop checking
// clean when it is cut anywhere but at the end of a display set.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "fuzz/FuzzRequire.h"
#include "pgs/SegmentTypes.h"
#include "pgs/StreamCheck.h"
#include "pgs/StreamReader.h"

namespace {

using tesmora::fuzz::Require;
namespace pgs = tesmora::pgs;

std::vector<std::string> Lines(std::span<const std::uint8_t> bytes) {
  std::vector<std::string> lines;
  for (const pgs::Breach& breach : pgs::CheckStream(bytes).breaches) {
    lines.push_back(pgs::BreachLine(breach));
  }
  return lines;
}

// The lengths at which the stream's display sets end.
std::set<std::size_t> SetEnds(std::span<const std::uint8_t> bytes) {
  std::set<std::size_t> ends;
  for (const pgs::DisplaySet& set : pgs::ReadStream(bytes).sets) {
    const pgs::Segment& last = set.segments.back();
    if (set.ended) {
      ends.insert(last.offset + pgs::kSegmentHeaderSize + last.payload.size());
    }
  }
  return ends;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const pgs::CheckReport report = pgs::CheckStream(bytes);
  Require(Lines(bytes) == Lines(bytes), "the report is the same on every run");
  for (const pgs::Breach& breach : report.breaches) {
    Require(breach.set >= 1 && breach.set <= report.sets + 1, "a breach names a display set");
    Require(!breach.message.empty() && breach.message.find('\n') == std::string::npos,
            "a breach is one line");
  }
  if (!report.breaches.empty()) {
    return 0;
  }
  const std::set<std::size_t> ends = SetEnds(bytes);
  // A handful of cuts spread over the stream keeps each input fast.
  constexpr std::size_t kCuts = 8;
  for (std::size_t n = 1; n <= kCuts; ++n) {
    const std::size_t length = size * n / (kCuts + 1);
    const bool clean = pgs::CheckStream(bytes.first(length)).breaches.empty();
    Require(clean == ends.contains(length),
            "a clean stream cut inside a display set never checks clean");
  }
  return 0;
}
