#include "cli/CliConsole.h"

#include <cstddef>
#include <new>
#include <system_error>

#include "subtitles/Utf8Sequence.h"

namespace tesmora::cli {
namespace {

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
    const Utf8Step step = NextUtf8Sequence(std::string_view(message).substr(i));
    if (byte == '\r') {
      text += '\n';
    } else if (byte == '\n' || byte == '\t') {
      text += static_cast<char>(byte);
    } else if (byte < 0x20 || byte == 0x7F || (!step.valid && byte < 0xA0)) {
      // A C0 control, DEL, or a lone byte that an 8-bit terminal takes for a
      // C1 control.
      AppendEscaped(text, byte);
      i += 1;
      continue;
    } else if (byte == 0xC2 && static_cast<unsigned char>(message[i + 1]) < 0xA0) {
      // A C1 control code point, U+0080 to U+009F.
      AppendEscaped(text, static_cast<unsigned char>(message[i + 1]));
    } else {
      // Other bytes of a file name that is not UTF-8 stay as they are, so the
      // name printed is the name on disk.
      text.append(message, i, step.valid ? step.length : 1);
      i += step.valid ? step.length : 1;
      continue;
    }
    i += step.length;
  }
  return text;
}

std::string InlineText(const std::string& text) {
  std::string quoted;
  quoted.reserve(text.size());
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      AppendEscaped(quoted, static_cast<unsigned char>(c));
    } else {
      quoted += c;
    }
  }
  return quoted;
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
  } catch (const std::system_error& error) {
    // The system refused something the run needs, such as a thread; the
    // run's files were let go on the way here.
    console.out.flush();
    console.err << TerminalText(std::string(kProgramName) +
                                ": the system refused what the run needs (" + error.what() +
                                "); the run stopped, and no unfinished file was kept.")
                << '\n';
    return kExitRefused;
  }
  console.out.flush();
  return kExitOk;
}

}  // namespace tesmora::cli
