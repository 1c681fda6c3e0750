#include "subtitles/TextDecoder.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "subtitles/Charsets.h"

namespace tesmora {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
constexpr char32_t kSymbolBase = 0xF000;

// Code pages with combining marks (Hebrew, Vietnamese) hold back the last
// character until they know nothing combines with it; this writes it out.
void FlushHeldBack(iconv_t converter, std::string& text) {
  char chunk[32];
  char* out = chunk;
  size_t outLeft = sizeof chunk;
  iconv(converter, nullptr, nullptr, &out, &outLeft);
  text.append(chunk, static_cast<size_t>(out - chunk));
}

// Decodes through iconv into UTF-8, one chunk at a time; an undecodable byte
// becomes U+FFFD, after any character held back before it, and decoding goes
// on after it. Each U+FFFD put in is counted in `replacements`.
std::string DecodeWith(iconv_t converter, std::string_view bytes, int& replacements) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);  // reset shift state
  std::string text;
  // A byte of these code pages gives at most three bytes of UTF-8, so the
  // text never grows past this: a long line is not copied again as it grows.
  text.reserve(3 * bytes.size() + 3);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char chunk[1024];
  while (inLeft > 0) {
    char* out = chunk;
    size_t outLeft = sizeof chunk;
    const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    const int error = result == static_cast<size_t>(-1) ? errno : 0;
    text.append(chunk, static_cast<size_t>(out - chunk));
    if (error == EILSEQ || error == EINVAL) {
      // A byte the code page has no character for, or a sequence cut short.
      FlushHeldBack(converter, text);
      text += kReplacement;
      ++replacements;
      if (inLeft == 0) {
        // A code page that holds a character back for a combining mark can
        // report the fault with every byte already taken: nothing is left
        // to step over.
        break;
      }
      ++in;
      --inLeft;
    } else if (error != 0 && error != E2BIG) {
      FlushHeldBack(converter, text);
      text += kReplacement;
      ++replacements;
      break;
    }
  }
  FlushHeldBack(converter, text);
  return text;
}

// Latin-1 bytes as UTF-8: every byte is the character of its value.
std::string Latin1ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(2 * bytes.size());
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (value < 0x80) {
      text.push_back(byte);
    } else {
      text.push_back(static_cast<char>(0xC0 | (value >> 6)));
      text.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
  }
  return text;
}

// Whether the code page reads every ASCII byte as that ASCII character, as
// most do (JOHAB, for one, reads a backslash as a won sign).
bool ReadsAsciiAsIs(iconv_t converter) {
  std::string ascii(128, '\0');
  for (int byte = 0; byte < 128; ++byte) {
    ascii[static_cast<std::size_t>(byte)] = static_cast<char>(byte);
  }
  int replacements = 0;
  return DecodeWith(converter, ascii, replacements) == ascii;
}

bool AllAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

}  // namespace

const char* CodePageOfCharset(int code) {
  switch (code) {
    case charset::kAnsi:
    case charset::kDefault:
      return "CP1252";
    case charset::kArabic:
      return "CP1256";
    case charset::kBaltic:
      return "CP1257";
    case charset::kChineseBig5:
      return "CP950";
    case charset::kEastEurope:
      return "CP1250";
    case charset::kGb2312:
      return "CP936";
    case charset::kGreek:
      return "CP1253";
    case charset::kHangeul:
      return "CP949";
    case charset::kHebrew:
      return "CP1255";
    case charset::kJohab:
      return "JOHAB";
    case charset::kMac:
      return "MACINTOSH";
    case charset::kOem:
      return "CP437";
    case charset::kRussian:
      return "CP1251";
    case charset::kShiftJis:
      return "CP932";
    case charset::kThai:
      return "CP874";
    case charset::kTurkish:
      return "CP1254";
    case charset::kVietnamese:
      return "CP1258";
    case charset::kSymbol:
    default:
      return nullptr;
  }
}

TextDecoder::TextDecoder(int charset) : symbol_(charset == charset::kSymbol), converter_(nullptr) {
  if (symbol_) {
    return;
  }
  const char* codePage = CodePageOfCharset(charset);
  if (codePage == nullptr) {
    codePage = "CP1252";
  }
  const iconv_t converter = iconv_open("UTF-8", codePage);
  if (converter != kNoConverter) {
    converter_ = reinterpret_cast<void*>(converter);
    codePage_ = codePage;
    asciiAsIs_ = ReadsAsciiAsIs(converter);
  }
}

TextDecoder::~TextDecoder() {
  if (converter_ != nullptr) {
    iconv_close(reinterpret_cast<iconv_t>(converter_));
  }
}

std::string TextDecoder::decode(std::string_view bytes) const {
  int replacements = 0;
  return decode(bytes, replacements);
}

std::string TextDecoder::decode(std::string_view bytes, int& replacements) const {
  if (symbol_) {
    // U+F000 + b: three bytes of UTF-8, 0xEF 0x80|(b >> 6) 0x80|(b & 0x3F).
    std::string text;
    text.reserve(3 * bytes.size());
    for (const char byte : bytes) {
      const char32_t code = kSymbolBase + static_cast<unsigned char>(byte);
      text.push_back(static_cast<char>(0xE0 | (code >> 12)));
      text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return text;
  }
  if (converter_ == nullptr) {
    return Latin1ToUtf8(bytes);
  }
  const iconv_t converter = reinterpret_cast<iconv_t>(converter_);
  // ASCII text is taken as it is when the code page allows it, rather than
  // through iconv, which takes several times the time.
  if (asciiAsIs_ && AllAscii(bytes)) {
    return std::string(bytes);
  }
  return DecodeWith(converter, bytes, replacements);
}

}  // namespace tesmora
