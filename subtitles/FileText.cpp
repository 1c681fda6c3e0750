#include "subtitles/FileText.h"

#include <algorithm>
#include <cctype>

#include "subtitles/Charsets.h"
#include "subtitles/CueLines.h"
#include "subtitles/EncodingDetection.h"
#include "subtitles/TextDecoder.h"
#include "subtitles/TextLines.h"
#include "subtitles/Utf8Transcoder.h"

namespace tesmora {
namespace {

bool IsAuto(const std::string& encoding) {
  return encoding.empty() ||
         std::ranges::equal(encoding, std::string_view("auto"), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

// Reads each line of 8-bit text in the code page of `charset`, each from the
// code page's first state, as a line on its own: a byte left undecoded at
// the end of one line never takes the break or the next line with it. The
// lines are joined by line feeds, one after each, so that splitting the text
// again gives the same lines, the last empty one included.
void ReadInCodePage(std::string_view bytes, int charset, FileText& file) {
  const TextDecoder decoder(charset);
  file.codePage = decoder.codePage();
  const LineList lines = SplitLines(bytes);
  file.text.reserve(bytes.size() + bytes.size() / 2);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int before = file.invalidSequences;
    file.text += decoder.decode(lines[i], file.invalidSequences);
    file.text += '\n';
    if (before == 0 && file.invalidSequences > 0) {
      file.firstInvalidLine = static_cast<int>(i) + 1;
    }
  }
}

}  // namespace

bool IsKnownEncoding(const std::string& encoding) {
  return IsAuto(encoding) || CanTranscodeToUtf8(encoding);
}

FileText DecodeSubtitleFile(std::string_view fileBytes, const std::string& encoding, int charset) {
  FileText file;
  file.encoding = IsAuto(encoding) ? DetectUnicodeEncoding(fileBytes) : encoding;
  if (file.encoding.empty()) {
    if (charset == charset::kSymbol) {
      file.text = fileBytes;
      file.symbol = true;
    } else {
      ReadInCodePage(fileBytes, charset, file);
    }
    return file;
  }
  Utf8Text converted = TranscodeToUtf8(fileBytes, file.encoding);
  file.text = std::move(converted.text);
  if (file.text.starts_with("\xEF\xBB\xBF")) {
    file.text.erase(0, 3);
  }
  file.invalidSequences = converted.invalidSequences;
  file.firstInvalidLine = converted.firstInvalidLine;
  return file;
}

void SymbolCueLines(std::vector<SubtitleEntry>& cues) {
  const TextDecoder decoder(charset::kSymbol);
  for (SubtitleEntry& cue : cues) {
    CueLinesBuilder read;
    for (const std::string_view line : cue.lines) {
      read.push_back(decoder.decode(line));
    }
    cue.lines = read.take();
  }
}

}  // namespace tesmora
