#pragma once

#include <string>

#include "subtitles/FileText.h"

namespace tesmora {

// The sentence naming the encoding a file's text was read in, or empty when
// it was read in the code page of the font charset.
std::string EncodingUsedNote(const FileText& file);

// The sentence reporting `count` byte sequences that were invalid in
// `encoding` and became U+FFFD, the first at line `firstLine` (from 1);
// empty when the count is 0.
std::string ReplacedSequencesNote(int count, int firstLine, const std::string& encoding);

// The sentence reporting the byte sequences that were invalid in the
// encoding or code page the file was read in and became U+FFFD, with the
// line of the first; empty when there were none.
std::string InvalidSequencesNote(const FileText& file);

}  // namespace tesmora
