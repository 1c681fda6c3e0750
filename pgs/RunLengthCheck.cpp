#include "pgs/RunLengthCheck.h"

#include <cstddef>

namespace tesmora::pgs {

std::vector<std::string> CheckRunLengths(int objectId, int width, int height,
                                         std::span<const std::uint8_t> data) {
  const std::string object = "object " + std::to_string(objectId);
  std::vector<std::string> faults;
  long long lines = 0;
  long long pixels = 0;  // of the line being read
  long long wrongLines = 0;
  std::string firstWrong;
  bool cut = false;
  std::size_t at = 0;
  while (at < data.size()) {
    const std::uint8_t code = data[at++];
    if (code != 0) {
      ++pixels;  // one pixel of a colour other than 0
      continue;
    }
    if (at >= data.size()) {
      cut = true;
      break;
    }
    const std::uint8_t flags = data[at++];
    if (flags == 0) {  // end of line
      if (pixels != width && wrongLines++ == 0) {
        firstWrong = object + " line " + std::to_string(lines + 1) + " has " +
                     std::to_string(pixels) + " pixels; the object is " + std::to_string(width) +
                     " wide";
      }
      ++lines;
      pixels = 0;
      continue;
    }
    long long length = flags & 0x3F;
    const bool longRun = (flags & 0x40) != 0;
    const bool coloured = (flags & 0x80) != 0;
    const std::size_t extra = (longRun ? 1U : 0U) + (coloured ? 1U : 0U);
    if (data.size() - at < extra) {
      cut = true;
      break;
    }
    if (longRun) {
      length = length << 8 | data[at];
    }
    at += extra;
    pixels += length;
  }
  if (wrongLines > 0) {
    faults.push_back(wrongLines == 1 ? firstWrong
                                     : firstWrong + " (and " + std::to_string(wrongLines - 1) +
                                           (wrongLines == 2 ? " more line" : " more lines") +
                                           " of the wrong width)");
  }
  if (cut) {
    faults.push_back(object + " run-length data ends inside a code");
  } else if (pixels != 0) {
    faults.push_back(object + " run-length data ends without closing its last line");
  }
  if (lines != height) {
    faults.push_back(object + " has " + std::to_string(lines) +
                     " lines of run-length data; it is " + std::to_string(height) + " high");
  }
  return faults;
}

}  // namespace tesmora::pgs
