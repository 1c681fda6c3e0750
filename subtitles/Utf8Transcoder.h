#pragma once

#include <string>
#include <string_view>

namespace tesmora {

// Text converted to UTF-8, and what could not be converted.
struct Utf8Text {
  std::string text;
  int invalidSequences = 0;  // each replaced by U+FFFD
  int firstInvalidLine = 0;  // line (from 1) of the first replacement, 0 when none
};

// Whether `encoding` names an encoding iconv reads (case does not matter).
// Names with conversion flags ("//IGNORE") are refused: those would drop
// text without saying so.
bool CanTranscodeToUtf8(const std::string& encoding);

// Converts `bytes` from `encoding` into UTF-8. Each sequence that is invalid
// in the encoding becomes U+FFFD and conversion goes on after it: one byte
// further, or one code unit in UTF-16 and UTF-32; a sequence cut off by the
// end of the bytes becomes a single U+FFFD. UTF-8 is checked strictly, and
// each ill-formed piece of it becomes one U+FFFD. Line numbers count LF, CR
// and CR LF as one break each. Throws std::invalid_argument when the
// encoding cannot be read.
Utf8Text TranscodeToUtf8(std::string_view bytes, const std::string& encoding);

}  // namespace tesmora
