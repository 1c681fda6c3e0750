#pragma once

#include <stdexcept>
#include <string>

namespace tesmora {

// A failed file operation, carrying the text the user sees: "File not found",
// "File access denied", "Disk full" or "I/O error <code>". The window's error
// guard shows it with a full stop added.
class IoError : public std::runtime_error {
 public:
  explicit IoError(const std::string& text) : std::runtime_error(text) {}
};

// The user's text for an errno value.
std::string IoErrorText(int errnum);

// An IoError for an errno value.
IoError IoErrorFromErrno(int errnum);

}  // namespace tesmora
