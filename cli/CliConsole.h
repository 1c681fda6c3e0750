#pragma once

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

namespace tesmora::cli {

inline constexpr const char* kProgramName = "tesmora-cli";
inline constexpr const char* kVersion = "42.7";

// The exit status of a run.
enum ExitCode : int {
  kExitOk = 0,
  kExitRefused = 1,  // the input was refused: nothing was written
  kExitUsage = 2,    // the command line was wrong
  kExitOutput = 3,   // the files could not be written
};

// Where a run writes: normal messages to `out`; errors, warnings and the
// progress line to `err`, which gets the progress line only when it is a
// terminal.
struct Console {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;
};

// A run that stops: the text, a complete message that may hold CR line
// separators, goes to the error stream, and the run exits with `code`.
class CliError : public std::runtime_error {
 public:
  CliError(ExitCode code, const std::string& text) : std::runtime_error(text), code_(code) {}
  ExitCode code() const { return code_; }

 private:
  ExitCode code_;
};

// A window message as terminal text: each CR, the messages' line separator,
// becomes a line break. Control characters (C0 other than line break and tab,
// DEL, and C1, also as lone bytes 0x80 to 0x9F outside UTF-8) are written as
// "\x1b" and the like, so that text quoted from a file cannot rewrite or clear
// the terminal. Other bytes that are no UTF-8 (a file name in another
// encoding) are kept.
std::string TerminalText(const std::string& message);

// A file name or an option's value as a message quotes it: its line breaks,
// LF and CR, become "\x0a" and "\x0d", so that a name holding them stays on
// its own line of the message and cannot pass for a line of the closing list
// or a message of its own. TerminalText escapes the other control characters.
std::string InlineText(const std::string& text);

// Runs the body of a run and returns its exit status: 0 when it ends
// normally, the error's code when it throws a CliError, and 1 when memory
// runs out anywhere in it or the system refuses it a resource (a thread). The message of a run that
// stops goes to the error stream, after what is already on the output stream.
int RunStoppable(const Console& console, const std::function<void()>& body);

// The message of a run that ran out of memory.
inline constexpr const char* kOutOfMemoryMessage =
    "tesmora-cli: there was not enough memory to finish; the run was stopped.";

}  // namespace tesmora::cli
