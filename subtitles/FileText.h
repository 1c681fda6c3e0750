#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "subtitles/SubtitleList.h"

namespace tesmora {

// The text of a subtitle file, read once for every step after it.
struct FileText {
  // UTF-8, whatever the file's encoding; only for a symbol font (`symbol`)
  // the file's own bytes.
  std::string text;
  std::string encoding;  // what the text was read in: "UTF-8", "UTF-16LE", "UTF-16BE"
                         // or the chosen name; empty when read in the charset's code page
  std::string codePage;  // the iconv name of that code page; empty when not read in one
                         // or when every byte is read as the character of its value
  // 8-bit text for the SYMBOL charset, whose bytes pick glyphs rather than
  // name characters: the bytes are kept for the reader, which finds numbers
  // and times in them, and the cue lines read afterwards (SymbolCueLines).
  bool symbol = false;
  int invalidSequences = 0;  // sequences invalid in the encoding, each replaced by U+FFFD
  int firstInvalidLine = 0;  // line number (from 1) of the first of them, 0 when none
};

// Whether `encoding` is a choice DecodeSubtitleFile takes: "auto", empty, or
// an encoding iconv reads.
bool IsKnownEncoding(const std::string& encoding);

// Reads the whole of a subtitle file into UTF-8. With "auto" (any case) or
// an empty name, the encoding is detected: a Unicode one is converted as it
// is, and 8-bit text is read line by line in the code page of the font
// `charset` (for SYMBOL, kept as it is). Any other name is the encoding of
// the whole file. A byte-order mark at the start is removed from converted
// text. Throws std::invalid_argument for an encoding that is not known.
FileText DecodeSubtitleFile(std::string_view fileBytes, const std::string& encoding, int charset);

// Turns the cue lines read from the bytes of a SYMBOL file into the glyph
// codes of a symbol font, U+F000 + byte (see TextDecoder).
void SymbolCueLines(std::vector<SubtitleEntry>& cues);

}  // namespace tesmora
