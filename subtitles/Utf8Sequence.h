#pragma once

#include <cstddef>
#include <string_view>

namespace tesmora {

// One step through UTF-8 text: the sequence at the start of the text.
struct Utf8Step {
  std::size_t length;  // bytes the step covers, at least 1
  bool valid;          // a well-formed sequence; else an ill-formed start to replace as a whole
};

// Reads the sequence at the start of `text`, which must not be empty. A
// well-formed sequence (no overlong forms, no surrogates, nothing above
// U+10FFFF) gives its length. Otherwise the step covers the longest start
// that could still have become well formed, at least one byte, so that each
// ill-formed piece becomes exactly one replacement character; a sequence cut
// off by the end of the text is one such piece.
Utf8Step NextUtf8Sequence(std::string_view text);

// Whether all of `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace tesmora
