#pragma once

#include <string>

#include "subtitles/FileText.h"
#include "subtitles/LineList.h"

namespace tesmora {

// What reading 8-bit text in the code page of a character set replaces.
struct CodePageReplacements {
  std::string codePage;  // iconv name; empty when every byte is a character
  int count = 0;         // bytes the code page has no character for, each drawn as U+FFFD
  int firstLine = 0;     // line (from 1) of the first of them, 0 when none
};

// Reads each line in the code page of `charset`, as the cues are decoded for
// drawing, and counts the bytes that become U+FFFD.
CodePageReplacements CountCodePageReplacements(const LineList& lines, int charset);

// The sentence reporting the characters a load replaced by U+FFFD: the
// sequences invalid in the Unicode encoding or chosen encoding of the file,
// or, for 8-bit text left for the code page (`lines` being its lines), the
// bytes the code page of `charset` has no character for. Empty when nothing
// was replaced.
std::string ReplacedCharactersNote(const FileText& file, const LineList& lines, int charset);

}  // namespace tesmora
