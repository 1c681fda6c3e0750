// Encoding detection and decoding on arbitrary bytes: a whole file read in
// a chosen or detected encoding, and 8-bit cue lines in each character
// set's code page, as the cues are decoded one after another.
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzRequire.h"
#include "render/NameTables.h"
#include "subtitles/EncodingDetection.h"
#include "subtitles/FileText.h"
#include "subtitles/TextDecoder.h"
#include "subtitles/Utf8Sequence.h"

namespace {

using tesmora::fuzz::Require;

constexpr std::array<const char*, 20> kEncodings{
    "auto",     "AUTO",        "",       "UTF-8",     "utf_8",
    "UTF-16LE", "UTF-16BE",    "UTF-16", "UTF-32LE",  "UTF-32",
    "CP1252",   "CP1255",      "CP1258", "SHIFT_JIS", "GB18030",
    "BIG5",     "ISO-2022-JP", "UTF-7",  "KOI8-R",    "no-such-encoding"};

constexpr std::array<int, 20> kCharsets{
    tesmora::charset::kAnsi,        tesmora::charset::kDefault,
    tesmora::charset::kSymbol,      tesmora::charset::kMac,
    tesmora::charset::kShiftJis,    tesmora::charset::kHangeul,
    tesmora::charset::kJohab,       tesmora::charset::kGb2312,
    tesmora::charset::kChineseBig5, tesmora::charset::kGreek,
    tesmora::charset::kTurkish,     tesmora::charset::kVietnamese,
    tesmora::charset::kHebrew,      tesmora::charset::kArabic,
    tesmora::charset::kBaltic,      tesmora::charset::kRussian,
    tesmora::charset::kThai,        tesmora::charset::kEastEurope,
    tesmora::charset::kOem,         3};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

int LineBreaks(std::string_view text) {
  int breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    breaks += text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ? 1 : 0;
  }
  return breaks;
}

// The UTF-16 bytes of valid UTF-8 text, little or big end first. Decoded
// here rather than by Qt, which drops a byte-order mark at the start.
std::string Utf16Bytes(std::string_view utf8, bool littleEndian) {
  std::string bytes;
  const auto unit = [&](char32_t u) {
    const char low = static_cast<char>(u & 0xFF);
    const char high = static_cast<char>(u >> 8);
    bytes += littleEndian ? std::string{low, high} : std::string{high, low};
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    if (code >= 0x10000) {
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      unit(code);
    }
    i += length;
  }
  return bytes;
}

void CheckFileText(std::string_view bytes, const std::string& encoding, int charset) {
  if (!tesmora::IsKnownEncoding(encoding)) {
    try {
      tesmora::DecodeSubtitleFile(bytes, encoding, charset);
    } catch (const std::invalid_argument&) {
      return;
    }
    Require(false, "an unknown encoding is refused");
  }
  const tesmora::FileText file = tesmora::DecodeSubtitleFile(bytes, encoding, charset);
  if (file.encoding.empty()) {
    Require(tesmora::DetectUnicodeEncoding(bytes).empty() && !bytes.starts_with(kBom),
            "text read in the code page is not Unicode");
  }
  if (file.symbol) {
    Require(file.encoding.empty() && charset == tesmora::charset::kSymbol && file.text == bytes &&
                file.invalidSequences == 0,
            "SYMBOL bytes are kept as they are for the reader");
    return;
  }
  Require(tesmora::IsValidUtf8(file.text), "read text is valid UTF-8");
  Require((file.invalidSequences == 0) == (file.firstInvalidLine == 0),
          "a replacement names its line");
  Require(file.firstInvalidLine <= LineBreaks(file.text) + 1,
          "the first replacement lies on a line of the text");
  if (file.invalidSequences > 0 || file.encoding.empty()) {
    return;
  }
  // Text that converted cleanly holds the very characters of the file, less
  // a byte-order mark at the start.
  if (file.encoding == "UTF-8" || file.encoding == "utf_8") {
    std::string_view expected = bytes;
    if (expected.starts_with(kBom)) {
      expected.remove_prefix(kBom.size());
    }
    Require(file.text == expected, "valid UTF-8 is kept byte for byte");
  } else if (file.encoding == "UTF-16LE" || file.encoding == "UTF-16BE") {
    const bool little = file.encoding == "UTF-16LE";
    std::string_view expected = bytes;
    if (expected.starts_with(little ? "\xFF\xFE" : "\xFE\xFF")) {
      expected.remove_prefix(2);
    }
    Require(Utf16Bytes(file.text, little) == expected, "valid UTF-16 converts back to itself");
  }
}

void CheckCodePage(std::string_view first, std::string_view second, int charset) {
  const tesmora::TextDecoder decoder(charset);
  const std::string firstBytes = decoder.decode(first);
  const std::string secondBytes = decoder.decode(second);
  Require(tesmora::TextDecoder(charset).decode(second) == secondBytes,
          "a line decodes alike whatever line came before");
  for (const std::string& text : {firstBytes, secondBytes}) {
    Require(tesmora::IsValidUtf8(text), "decoded text is valid UTF-8");
  }
  const QString secondText = QString::fromStdString(secondBytes);
  qsizetype characters = 0;
  for (const QChar c : secondText) {
    characters += c.isLowSurrogate() ? 0 : 1;
  }
  Require(characters <= static_cast<qsizetype>(second.size()),
          "a byte decodes to one character at most");
  if (charset == tesmora::charset::kSymbol) {
    Require(characters == static_cast<qsizetype>(second.size()), "a SYMBOL byte is one character");
    for (const QChar c : secondText) {
      Require(c.unicode() >= 0xF000 && c.unicode() <= 0xF0FF,
              "a SYMBOL byte picks a glyph of the private-use range");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tesmora::fuzz::FuzzBytes input(data, size);
  const std::string encoding = kEncodings[input.pick(kEncodings.size())];
  const int charset = kCharsets[input.pick(kCharsets.size())];
  const std::size_t split = input.u16();
  const std::string_view bytes = input.rest();
  CheckFileText(bytes, encoding, charset);
  const std::size_t at = bytes.empty() ? 0 : split % (bytes.size() + 1);
  CheckCodePage(bytes.substr(0, at), bytes.substr(at), charset);
  return 0;
}
