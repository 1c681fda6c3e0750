#include "subtitles/FileText.h"

#include <algorithm>
#include <cctype>

#include "subtitles/EncodingDetection.h"
#include "subtitles/Utf8Transcoder.h"

namespace tesmora {
namespace {

bool IsAuto(const std::string& encoding) {
  return encoding.empty() ||
         std::ranges::equal(encoding, std::string_view("auto"), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

}  // namespace

bool IsKnownEncoding(const std::string& encoding) {
  return IsAuto(encoding) || CanTranscodeToUtf8(encoding);
}

FileText DecodeSubtitleFile(std::string_view fileBytes, const std::string& encoding) {
  FileText file;
  file.encoding = IsAuto(encoding) ? DetectUnicodeEncoding(fileBytes) : encoding;
  if (file.encoding.empty()) {
    file.bytes = fileBytes;
    return file;
  }
  Utf8Text converted = TranscodeToUtf8(fileBytes, file.encoding);
  file.bytes = std::move(converted.text);
  if (file.bytes.starts_with("\xEF\xBB\xBF")) {
    file.bytes.erase(0, 3);
  }
  file.utf8 = true;
  file.invalidSequences = converted.invalidSequences;
  file.firstInvalidLine = converted.firstInvalidLine;
  return file;
}

}  // namespace tesmora
