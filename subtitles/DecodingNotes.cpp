#include "subtitles/DecodingNotes.h"

namespace tesmora {

std::string EncodingUsedNote(const FileText& file) {
  if (file.encoding.empty()) {
    return {};
  }
  return "The subtitle text was read as " + file.encoding + ".";
}

std::string InvalidSequencesNote(const FileText& file) {
  if (file.invalidSequences == 0) {
    return {};
  }
  return std::to_string(file.invalidSequences) + " byte sequence(s) not valid in " + file.encoding +
         " were replaced by \xEF\xBF\xBD (U+FFFD), the first at line " +
         std::to_string(file.firstInvalidLine) + ".";
}

}  // namespace tesmora
