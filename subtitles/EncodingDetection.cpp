#include "subtitles/EncodingDetection.h"

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

// Text in a code page rarely holds a well-formed UTF-8 sequence by chance: a
// lead byte (an accented capital, say) would have to be followed by exactly
// the right number of bytes from 0x80-0xBF (punctuation and symbols), and its
// other non-ASCII bytes are mostly ill-formed as UTF-8. UTF-8 text with a few
// stray bytes pasted in from a code page is the other way round. So the text
// is UTF-8 when it holds at least one well-formed multi-byte sequence and no
// more ill-formed pieces than well-formed multi-byte sequences; the
// ill-formed pieces are then replaced when the text is converted.
bool LooksLikeUtf8(std::string_view text) {
  std::size_t wellFormed = 0;
  std::size_t illFormed = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const Utf8Step step = NextUtf8Sequence(text.substr(i));
    (step.valid ? wellFormed : illFormed) += 1;
    i += step.length;
  }
  return wellFormed > 0 && illFormed <= wellFormed;
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
  if (LooksLikeUtf8(fileBytes)) {
    return "UTF-8";
  }
  return {};
}

}  // namespace tesmora
