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

// The most bytes one encoded line can take, end code included: no run code
// has more nibbles than its run has pixels, so 719 pixels need at most 719
// nibbles, 360 bytes after padding.
inline constexpr std::size_t kMaxEncodedLineBytes = (719 + 1) / 2 + 2;

// Appends one encoded line: its run codes, a zero nibble when their count is
// odd, and the two zero bytes that end the line.
void AppendEncodedLine(const std::vector<PixelRun>& runs, std::vector<std::uint8_t>& out);

std::vector<std::uint8_t> EncodeLine(const std::vector<PixelRun>& runs);

}  // namespace tesmora
