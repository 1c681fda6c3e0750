#include "subtitles/TextDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "subtitles/Charsets.h"

namespace tesmora {
namespace {

std::string Decode(int charsetCode, std::string_view bytes) {
  return TextDecoder(charsetCode).decode(bytes);
}

std::string Repeated(const std::string& text, std::size_t times) {
  std::string repeated;
  for (std::size_t i = 0; i < times; ++i) {
    repeated += text;
  }
  return repeated;
}

TEST(TextDecoder, ReadsEachCharacterSetInItsCodePage) {
  EXPECT_EQ(Decode(charset::kDefault, "caf\xE9 \x80"), "café €");
  EXPECT_EQ(Decode(charset::kAnsi, "\x93quoted\x94"), "“quoted”");
  EXPECT_EQ(Decode(charset::kRussian, "\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
  EXPECT_EQ(Decode(charset::kGreek, "\xE1\xE2\xE3"), "αβγ");
  EXPECT_EQ(Decode(charset::kEastEurope, "\x9A\xE8"), "šč");
  EXPECT_EQ(Decode(charset::kHebrew, "\xF9\xEC\xE5\xED"), "שלום");
  EXPECT_EQ(Decode(charset::kShiftJis, "\x93\xfa\x96\x7b"), "日本");
  EXPECT_EQ(Decode(charset::kOem, "\xC9\xCD\xBB"), "╔═╗");
  EXPECT_EQ(Decode(charset::kMac, "\x8E"), "é");
  EXPECT_EQ(Decode(charset::kVietnamese, "Vi\xEA\xF2t"), "Việt");
}

TEST(TextDecoder, ReplacesWhatTheCodePageCannotDecodeAndKeepsGoing) {
  // 0x81 has no character in Windows-1252; a lead byte at the end of a
  // Shift-JIS line has no partner.
  EXPECT_EQ(Decode(charset::kDefault, "a\x81z"), "a\uFFFDz");
  EXPECT_EQ(Decode(charset::kShiftJis, "ab\x93"), "ab\uFFFD");
  EXPECT_EQ(Decode(charset::kDefault, std::string_view("a\0b", 3)), std::string("a\0b", 3));
  const std::string everyByte = [] {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
      bytes += static_cast<char>(b);
    }
    return bytes;
  }();
  for (const int code : {charset::kAnsi, charset::kChineseBig5, charset::kGb2312, charset::kHangeul,
                         charset::kJohab, charset::kShiftJis, charset::kThai, charset::kVietnamese,
                         charset::kArabic, charset::kBaltic, charset::kTurkish}) {
    EXPECT_FALSE(Decode(code, everyByte).empty()) << code;
  }
}

TEST(TextDecoder, ReadsALongAsciiLineAsItsPiecesInEveryCodePage) {
  std::string ascii;
  for (int b = 0; b < 128; ++b) {
    ascii += static_cast<char>(b);
  }
  const std::string longLine = Repeated(ascii, 100'000 / 128 + 1);
  for (const int code :
       {charset::kAnsi, charset::kDefault, charset::kChineseBig5, charset::kGb2312,
        charset::kHangeul, charset::kJohab, charset::kShiftJis, charset::kThai,
        charset::kVietnamese, charset::kHebrew, charset::kMac, charset::kOem, charset::kRussian}) {
    EXPECT_EQ(Decode(code, longLine), Repeated(Decode(code, ascii), 100'000 / 128 + 1)) << code;
  }
  // JOHAB reads a backslash as a won sign however long the line.
  EXPECT_EQ(Decode(charset::kJohab, std::string(5000, '\\')), Repeated("₩", 5000));
}

TEST(TextDecoder, KeepsTheHeldBackLetterBeforeAnUndecodableByte) {
  // Hebrew and Vietnamese hold a letter back until they know no mark
  // combines with it; a bad byte after it must not lose it.
  EXPECT_EQ(Decode(charset::kVietnamese,
                   "abc\x81"
                   "def"),
            "abc\uFFFDdef");
  EXPECT_EQ(Decode(charset::kVietnamese, "abW\x81"), "abW\uFFFD");
  EXPECT_EQ(Decode(charset::kHebrew,
                   "ab\xFF"
                   "c"),
            "ab\uFFFDc");
  EXPECT_EQ(Decode(charset::kHebrew, "\xF9\xFF\xEC"), "ש\uFFFDל");
  // A letter and the mark after it still compose.
  EXPECT_EQ(Decode(charset::kVietnamese, "a\xEC\x81"), "\u00E1\uFFFD");
}

// Every U+FFFD put in is counted, also where a held-back letter comes out
// before it, and nothing else is: the count is what the load reports.
TEST(TextDecoder, CountsEachReplacementItPutsIn) {
  const struct {
    int charset;
    std::string_view bytes;
    std::string text;
    int replaced;
  } cases[] = {
      {charset::kDefault, "a\x81z\x8D\x8F\x90\x9D", "a\uFFFDz\uFFFD\uFFFD\uFFFD\uFFFD", 5},
      {charset::kDefault, "caf\xE9 \x80\xFF", "café €ÿ", 0},
      {charset::kShiftJis, "ab\x93", "ab\uFFFD", 1},
      {charset::kHebrew, "\xF9\xFF\xEC\xFF", "ש\uFFFDל\uFFFD", 2},
      {charset::kVietnamese, "a\xEC\x81", "\u00E1\uFFFD", 1},
      {charset::kSymbol, "\x81\xFF", "\uF081\uF0FF", 0},
  };
  for (const auto& c : cases) {
    int replaced = 0;
    EXPECT_EQ(TextDecoder(c.charset).decode(c.bytes, replaced), c.text) << c.bytes;
    EXPECT_EQ(replaced, c.replaced) << c.bytes;
  }
  // The count adds up over lines.
  const TextDecoder decoder(charset::kDefault);
  int replaced = 0;
  decoder.decode("\x81", replaced);
  decoder.decode("ok\x81\x81", replaced);
  EXPECT_EQ(replaced, 3);
  EXPECT_EQ(decoder.codePage(), "CP1252");
  EXPECT_EQ(TextDecoder(charset::kVietnamese).codePage(), "CP1258");
  EXPECT_EQ(TextDecoder(charset::kSymbol).codePage(), "");
}

}  // namespace
}  // namespace tesmora
