#include "subtitles/Utf8Transcoder.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <stdexcept>

#include "subtitles/Utf8Sequence.h"

namespace tesmora {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr std::size_t kChunkSize = 64 * 1024;

// The line (from 1) that text appended after `text` lands on.
int LineAtEnd(std::string_view text) {
  int line = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))) {
      ++line;
    }
  }
  return line;
}

// Collects the converted text and marks replacements.
struct Utf8Builder {
  Utf8Text result;

  void AppendReplacement() {
    if (result.invalidSequences++ == 0) {
      result.firstInvalidLine = LineAtEnd(result.text);
    }
    result.text += kReplacement;
  }
};

// Upper case without the separators names are written with ("utf_8", "UTF-8").
std::string PlainName(const std::string& encoding) {
  std::string plain;
  for (const char c : encoding) {
    if (c != '-' && c != '_') {
      plain += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return plain;
}

// Bytes to skip past an invalid sequence: one code unit.
std::size_t CodeUnitSize(const std::string& encoding) {
  const std::string plain = PlainName(encoding);
  if (plain.starts_with("UTF16") || plain.starts_with("UCS2")) {
    return 2;
  }
  if (plain.starts_with("UTF32") || plain.starts_with("UCS4")) {
    return 4;
  }
  return 1;
}

// UTF-8 is checked here rather than by iconv, which lets code points beyond
// U+10FFFF through.
Utf8Text RepairUtf8(std::string_view bytes) {
  Utf8Builder out;
  out.result.text.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t runStart = i;
    Utf8Step step{0, true};
    while (i < bytes.size()) {
      if (static_cast<unsigned char>(bytes[i]) < 0x80) {
        ++i;
        continue;
      }
      step = NextUtf8Sequence(bytes.substr(i));
      if (!step.valid) {
        break;
      }
      i += step.length;
    }
    out.result.text.append(bytes.substr(runStart, i - runStart));
    if (i < bytes.size()) {
      out.AppendReplacement();
      i += step.length;
    }
  }
  return std::move(out.result);
}

class Converter {
 public:
  explicit Converter(const std::string& encoding)
      : handle_(encoding.empty() || encoding.find('/') != std::string::npos
                    ? kNone
                    : iconv_open("UTF-8", encoding.c_str())) {}
  ~Converter() {
    if (handle_ != kNone) {
      iconv_close(handle_);
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Opened() const { return handle_ != kNone; }
  iconv_t Handle() const { return handle_; }

 private:
  static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
  iconv_t handle_;
};

Utf8Text IconvToUtf8(std::string_view bytes, iconv_t converter, std::size_t unitSize) {
  Utf8Builder out;
  out.result.text.reserve(bytes.size() + bytes.size() / 2);
  std::string chunk(kChunkSize, '\0');
  // Converts what fits into one chunk and appends it; a null input flushes a
  // character the converter holds back and returns it to its initial state.
  const auto convert = [&](char** in, std::size_t* inLeft) {
    char* next = chunk.data();
    std::size_t chunkLeft = chunk.size();
    const std::size_t result = iconv(converter, in, inLeft, &next, &chunkLeft);
    const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
    out.result.text.append(chunk.data(), static_cast<std::size_t>(next - chunk.data()));
    return error;
  };
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    const int error = convert(&in, &inLeft);
    if (error == 0 || error == E2BIG) {
      continue;
    }
    // Code pages with combining marks (Hebrew, Vietnamese) hold back the last
    // character; it comes before the replacement.
    convert(nullptr, nullptr);
    out.AppendReplacement();
    const std::size_t skip = error == EINVAL ? inLeft : std::min(unitSize, inLeft);
    in += skip;
    inLeft -= skip;
  }
  convert(nullptr, nullptr);
  return std::move(out.result);
}

}  // namespace

bool CanTranscodeToUtf8(const std::string& encoding) {
  return Converter(encoding).Opened();
}

Utf8Text TranscodeToUtf8(std::string_view bytes, const std::string& encoding) {
  const Converter converter(encoding);
  if (!converter.Opened()) {
    throw std::invalid_argument("Unknown encoding '" + encoding + "'");
  }
  if (PlainName(encoding) == "UTF8") {
    return RepairUtf8(bytes);
  }
  return IconvToUtf8(bytes, converter.Handle(), CodeUnitSize(encoding));
}

}  // namespace tesmora
