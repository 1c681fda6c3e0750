#include "subtitles/DecodingNotes.h"

namespace tesmora {

std::string EncodingUsedNote(const FileText& file) {
  if (file.encoding.empty()) {
    return {};
  }
  return "The subtitle text was read as " + file.encoding + ".";
}

std::string ReplacedSequencesNote(int count, int firstLine, const std::string& encoding) {
  if (count == 0) {
    return {};
  }
  return std::to_string(count) + " byte sequence(s) not valid in " + encoding +
         " were replaced by \xEF\xBF\xBD (U+FFFD), the first at line " + std::to_string(firstLine) +
         ".";
}

std::string InvalidSequencesNote(const FileText& file) {
  return ReplacedSequencesNote(file.invalidSequences, file.firstInvalidLine,
                               file.encoding.empty() ? file.codePage : file.encoding);
}

}  // namespace tesmora
