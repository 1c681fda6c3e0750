#include "subtitles/CodePageReplacements.h"

#include <algorithm>

#include "subtitles/DecodingNotes.h"
#include "subtitles/TextDecoder.h"

namespace tesmora {

CodePageReplacements CountCodePageReplacements(const LineList& lines, int charset) {
  const TextDecoder decoder(charset);
  CodePageReplacements found{decoder.codePage()};
  if (found.codePage.empty()) {
    return found;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    // ASCII reads the same in every code page here.
    if (std::all_of(line.begin(), line.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      continue;
    }
    const int before = found.count;
    decoder.decode(line, found.count);
    if (before == 0 && found.count > 0) {
      found.firstLine = static_cast<int>(i) + 1;
    }
  }
  return found;
}

std::string ReplacedCharactersNote(const FileText& file, const LineList& lines, int charset) {
  if (file.utf8) {
    return InvalidSequencesNote(file);
  }
  const CodePageReplacements found = CountCodePageReplacements(lines, charset);
  return ReplacedSequencesNote(found.count, found.firstLine, found.codePage);
}

}  // namespace tesmora
