#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "core/IoError.h"

namespace tesmora {

// A failure to write an output file: the user's text for it, and the file
// (the target, not its temporary name) that could not be written.
class OutputFileError : public IoError {
 public:
  OutputFileError(std::filesystem::path target, int errnum)
      : OutputFileError(std::move(target), IoErrorText(errnum)) {}
  OutputFileError(std::filesystem::path target, const std::string& text)
      : IoError(text), target_(std::move(target)) {}

  const std::filesystem::path& target() const { return target_; }

 private:
  std::filesystem::path target_;
};

}  // namespace tesmora
