#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tesmora {

// The largest subtitle file read. A two-hour film's SRT is about 100 KB; a
// file this large is something else, and reading it would only exhaust the
// memory.
inline constexpr std::uintmax_t kMaxSubtitleFileBytes = 64 * 1024 * 1024;

// A subtitle file that is not read. The text names the file and has no
// closing full stop.
class SubtitleFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole content of a subtitle file. Only a regular file is read: a
// folder, a device such as /dev/zero or a pipe, which could block for ever
// or never end, is refused before it is opened, as is a file larger than
// kMaxSubtitleFileBytes. Throws SubtitleFileError for these and for a file
// that cannot be opened or read ("Cannot open file <path>").
std::string ReadSubtitleFileBytes(const std::filesystem::path& path);

}  // namespace tesmora
