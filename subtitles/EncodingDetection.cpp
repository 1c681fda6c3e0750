#include "subtitles/EncodingDetection.h"

#include <algorithm>
#include <cstddef>

#include "subtitles/Utf8Sequence.h"

namespace tesmora {
namespace {

// How much of the file the zero-byte count looks at.
constexpr std::size_t kUtf16SampleSize = 4096;

// UTF-16 of mostly ASCII text has a zero in every other byte: the high byte of
// each code unit. Text in a code page has no zero bytes at all, and a run of
// zero padding puts them on both sides alike, so one side must hold zeros in
// over a quarter of the code units while the other holds at most a quarter as
// many. UTF-16 of text without ASCII (CJK, say) has no such zeros and is not
// recognised.
std::string DetectUtf16ByZeros(std::string_view fileBytes) {
  const std::string_view sample = fileBytes.substr(0, kUtf16SampleSize);
  const std::size_t units = sample.size() / 2;  // a trailing odd byte is left out
  std::size_t evenZeros = 0;
  std::size_t oddZeros = 0;
  for (std::size_t i = 0; i < units; ++i) {
    evenZeros += sample[2 * i] == '\0' ? 1 : 0;
    oddZeros += sample[2 * i + 1] == '\0' ? 1 : 0;
  }
  const auto dominates = [units](std::size_t zeros, std::size_t otherZeros) {
    return zeros * 4 > units && otherZeros * 4 <= zeros;
  };
  if (dominates(oddZeros, evenZeros)) {
    return "UTF-16LE";
  }
  if (dominates(evenZeros, oddZeros)) {
    return "UTF-16BE";
  }
  return {};
}

bool HasNonAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::string DetectUnicodeEncoding(std::string_view fileBytes) {
  if (fileBytes.starts_with("\xEF\xBB\xBF")) {
    return "UTF-8";
  }
  if (fileBytes.starts_with("\xFF\xFE")) {
    return "UTF-16LE";
  }
  if (fileBytes.starts_with("\xFE\xFF")) {
    return "UTF-16BE";
  }
  std::string utf16 = DetectUtf16ByZeros(fileBytes);
  if (!utf16.empty()) {
    return utf16;
  }
  if (HasNonAscii(fileBytes) && IsValidUtf8(fileBytes)) {
    return "UTF-8";
  }
  return {};
}

}  // namespace tesmora
