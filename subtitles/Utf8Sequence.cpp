#include "subtitles/Utf8Sequence.h"

namespace tesmora {

Utf8Step NextUtf8Sequence(std::string_view text) {
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) {
    return {1, true};
  }
  // Continuation bytes needed, and the range the first of them must fall in:
  // the narrower ranges exclude overlong forms, surrogates and code points
  // beyond U+10FFFF.
  std::size_t continuations;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuations = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuations = 2;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuations = 3;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return {1, false};
  }
  for (std::size_t i = 1; i <= continuations; ++i) {
    if (i >= text.size()) {
      return {i, false};
    }
    const unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte < low || byte > high) {
      return {i, false};
    }
    low = 0x80;
    high = 0xBF;
  }
  return {continuations + 1, true};
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const Utf8Step step = NextUtf8Sequence(text.substr(i));
    if (!step.valid) {
      return false;
    }
    i += step.length;
  }
  return true;
}

}  // namespace tesmora
