#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sup/LineRuns.h"
#include "sup/NibbleWriter.h"

namespace tesmora {

// Writes one run in the subpicture run-length code: value length * 4 + code in
// 1, 2, 3 or 4 nibbles for lengths 1-3, 4-15, 16-63 and 64-255. A longer run
// is written as codes of 255 pixels followed by the rest.
void AppendRunCode(NibbleWriter& writer, int length, PixelCode code);

// The run's code as upper-case hexadecimal digits, one digit per nibble
// ("03FC" for 255 Background pixels).
std::string FormatRunCode(int length, PixelCode code);

// Appends one encoded line: its run codes, a zero nibble when their count is
// odd, and the two zero bytes that end the line. Any list of runs is written
// in full, even one that covers more than a frame line. Throws
// std::invalid_argument, leaving `out` as it was, when a run is empty.
void AppendEncodedLine(const std::vector<PixelRun>& runs, std::vector<std::uint8_t>& out);

std::vector<std::uint8_t> EncodeLine(const std::vector<PixelRun>& runs);

}  // namespace tesmora
