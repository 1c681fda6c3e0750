#include "tools/CliConsole.h"

#include <cstddef>
#include <new>

namespace tesmora::cli {
namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0 when the bytes
// there are no such sequence (a stray continuation byte, an overlong or cut
// sequence, a surrogate, or a code point past U+10FFFF).
std::size_t Utf8SequenceLength(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
  };
  const unsigned lead = byte(at);
  if (lead < 0x80) {
    return 1;
  }
  std::size_t length = 0;
  unsigned low = 0x80;
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned next = byte(at + i);
    if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
      return 0;
    }
  }
  return length;
}

void AppendEscaped(std::string& text, unsigned value) {
  constexpr const char* kHex = "0123456789abcdef";
  text += "\\x";
  text += kHex[value >> 4 & 0xF];
  text += kHex[value & 0xF];
}

}  // namespace

std::string TerminalText(const std::string& message) {
  std::string text;
  text.reserve(message.size());
  for (std::size_t i = 0; i < message.size();) {
    const auto byte = static_cast<unsigned char>(message[i]);
    const std::size_t length = Utf8SequenceLength(message, i);
    if (byte == '\r') {
      text += '\n';
    } else if (byte == '\n' || byte == '\t') {
      text += static_cast<char>(byte);
    } else if (length == 0 || byte < 0x20 || byte == 0x7F) {
      AppendEscaped(text, byte);
    } else if (byte == 0xC2 && static_cast<unsigned char>(message[i + 1]) < 0xA0) {
      // A C1 control code point, U+0080 to U+009F.
      AppendEscaped(text, static_cast<unsigned char>(message[i + 1]));
    } else {
      text.append(message, i, length);
    }
    i += length == 0 ? 1 : length;
  }
  return text;
}

int RunStoppable(const Console& console, const std::function<void()>& body) {
  try {
    body();
  } catch (const CliError& error) {
    console.out.flush();
    console.err << TerminalText(error.what()) << '\n';
    return error.code();
  } catch (const std::bad_alloc&) {
    console.out.flush();
    console.err << kOutOfMemoryMessage << '\n';
    return kExitRefused;
  }
  console.out.flush();
  return kExitOk;
}

}  // namespace tesmora::cli
