#pragma once

#include <string>
#include <string_view>

namespace tesmora {

// How the text of a subtitle file is to be read.
struct FileText {
  std::string bytes;         // UTF-8 when utf8 is true; else the file's own 8-bit bytes
  bool utf8 = false;         // false: decode later in the code page of the font charset
  std::string encoding;      // what the text was read in: "UTF-8", "UTF-16LE", "UTF-16BE"
                             // or the chosen name; empty when left for the code page
  int invalidSequences = 0;  // sequences invalid in the encoding, each replaced by U+FFFD
  int firstInvalidLine = 0;  // line number (from 1) of the first of them, 0 when none
};

// Whether `encoding` is a choice DecodeSubtitleFile takes: "auto", empty, or
// an encoding iconv reads.
bool IsKnownEncoding(const std::string& encoding);

// Reads the whole of a subtitle file. With "auto" (any case) or an empty
// name, the encoding is detected: a Unicode one is converted to UTF-8 and an
// 8-bit text is left as it is, for the code page of the font charset. Any
// other name is the encoding of the whole file, which is converted to UTF-8.
// A byte-order mark at the start is removed from converted text. Throws
// std::invalid_argument for an encoding that is not known.
FileText DecodeSubtitleFile(std::string_view fileBytes, const std::string& encoding);

}  // namespace tesmora
