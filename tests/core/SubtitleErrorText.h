#pragma once

#include <functional>
#include <string>

#include "sup/SubtitlePacket.h"

namespace tesmora::testing {

// The text of the SubtitleError that `action` throws, or "no error".
inline std::string SubtitleErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const SubtitleError& error) {
    return error.what();
  }
  return "no error";
}

}  // namespace tesmora::testing
