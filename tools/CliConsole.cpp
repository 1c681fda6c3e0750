#include "tools/CliConsole.h"

#include <algorithm>

namespace tesmora::cli {

std::string TerminalText(const std::string& message) {
  std::string text = message;
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

}  // namespace tesmora::cli
