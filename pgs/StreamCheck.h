#pragma once

// Checks a PGS stream against the format and the decoder model that
// Blu-ray players follow, and names every breach with its display set.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tesmora::pgs {

// One breach: the display set it is in (counted from 1 in file order), that
// set's presentation time in 90 kHz ticks, and what is wrong.
struct Breach {
  std::size_t set = 0;
  std::int64_t pts = 0;
  std::string message;
};

// Breaches listed at most; a crafted stream can hold a breach in every few
// bytes, and the list must not outgrow the stream many times over.
inline constexpr std::size_t kMostListedBreaches = 10'000;

struct CheckReport {
  std::vector<Breach> breaches;  // the first kMostListedBreaches
  std::size_t unlisted = 0;      // found beyond those
  std::size_t sets = 0;
  std::size_t epochs = 0;
};

// Reads and checks the whole stream, one display set at a time. Sets that decode from a DTS of 0
// (as mkvextract and several tools write them) are taken to start decoding as late as the decoder
// model allows, PTS minus the time their decoding and writing take; a set with a DTS decodes from
// it, and the DTS must leave that time before the PTS.
CheckReport CheckStream(std::span<const std::uint8_t> bytes);

// "display set 3 at 00:01:02.345: <message>".
std::string BreachLine(const Breach& breach);

// 90 kHz ticks as HH:MM:SS.mmm, the milliseconds cut off rather than rounded.
std::string ClockText(std::int64_t ticks);

}  // namespace tesmora::pgs
