#include "subtitles/Utf8Transcoder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace tesmora {
namespace {

using namespace std::string_literals;

const std::string kFffd = "\xEF\xBF\xBD";

void ExpectText(const Utf8Text& actual, const std::string& text, int invalid, int firstLine) {
  EXPECT_EQ(actual.text, text);
  EXPECT_EQ(actual.invalidSequences, invalid);
  EXPECT_EQ(actual.firstInvalidLine, firstLine);
}

TEST(TranscodeToUtf8, ConvertsCodePagesAndMultiByteEncodings) {
  ExpectText(TranscodeToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2\r\n", "CP1251"),
             "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\n", 0, 0);
  ExpectText(TranscodeToUtf8("\xF0\xD2\xC9", "koi8-r"), "\xD0\x9F\xD1\x80\xD0\xB8", 0, 0);
  ExpectText(TranscodeToUtf8("\xB3\xF3\xB6\xE6", "ISO-8859-2"), "\xC5\x82\xC3\xB3\xC5\x9B\xC4\x87",
             0, 0);
  ExpectText(TranscodeToUtf8("\xD6\xD0\xCE\xC4", "GB18030"), "\xE4\xB8\xAD\xE6\x96\x87", 0, 0);
  ExpectText(TranscodeToUtf8("", "CP1252"), "", 0, 0);
}

TEST(TranscodeToUtf8, KeepsTheLineBreaksOfUtf16AsBytes) {
  ExpectText(TranscodeToUtf8("1\0\r\0\n\0\xE9\0\r\0x\0\n\0"s, "UTF-16LE"), "1\r\n\xC3\xA9\rx\n", 0,
             0);
  ExpectText(TranscodeToUtf8("\0"
                             "1\0\r\0\n\x20\xAC"s,
                             "UTF-16BE"),
             "1\r\n\xE2\x82\xAC", 0, 0);
  // A surrogate pair.
  ExpectText(TranscodeToUtf8("\x3D\xD8\x00\xDE"s, "UTF-16LE"), "\xF0\x9F\x98\x80", 0, 0);
}

TEST(TranscodeToUtf8, ReplacesEachInvalidSequenceAndGoesOn) {
  // A byte CP1252 has no character for.
  ExpectText(TranscodeToUtf8("a\x81z", "CP1252"), "a" + kFffd + "z", 1, 1);
  // A lone surrogate costs one code unit; the rest reads on.
  ExpectText(TranscodeToUtf8("a\0\x00\xD8z\0"s, "UTF-16LE"), "a" + kFffd + "z", 1, 1);
  ExpectText(TranscodeToUtf8("\0a\xDC\x00\0z"s, "UTF-16BE"), "a" + kFffd + "z", 1, 1);
  ExpectText(TranscodeToUtf8("a\0\0\0\x00\xD8\0\0z\0\0\0"s, "UTF-32LE"), "a" + kFffd + "z", 1, 1);
  // A byte GB18030 cannot start with.
  ExpectText(TranscodeToUtf8("\xFF\xD6\xD0", "GB18030"), kFffd + "\xE4\xB8\xAD", 1, 1);
}

TEST(TranscodeToUtf8, ReplacesASequenceCutOffByTheEndOnce) {
  ExpectText(TranscodeToUtf8("a\0b"s, "UTF-16LE"), "a" + kFffd, 1, 1);
  ExpectText(TranscodeToUtf8("a\0\x3D\xD8"s, "UTF-16LE"), "a" + kFffd, 1, 1);
  ExpectText(TranscodeToUtf8("\xD6\xD0\xD6", "GB18030"), "\xE4\xB8\xAD" + kFffd, 1, 1);
  ExpectText(TranscodeToUtf8("\x81\x30\x81", "GB18030"), kFffd, 1, 1);
}

TEST(TranscodeToUtf8, TellsTheLineOfTheFirstReplacement) {
  // LF, CR and CR LF each end one line.
  ExpectText(TranscodeToUtf8("a\r\nb\rc\nd\x81\n\x81", "CP1252"),
             "a\r\nb\rc\nd" + kFffd + "\n" + kFffd, 2, 4);
  ExpectText(TranscodeToUtf8("\r\n\r\n\r\x81", "CP1252"), "\r\n\r\n\r" + kFffd, 1, 4);
  ExpectText(TranscodeToUtf8("\n\r\x81", "CP1252"), "\n\r" + kFffd, 1, 3);  // LF CR is two
  ExpectText(TranscodeToUtf8("1\0\r\0\n\0\r\0\n\0\x00\xDC"s, "UTF-16LE"), "1\r\n\r\n" + kFffd, 1,
             3);
}

TEST(TranscodeToUtf8, KeepsAHeldBackCharacterBeforeTheReplacement) {
  // CP1255 holds back a letter until it knows no point follows.
  ExpectText(TranscodeToUtf8("\xE0\xFF\xE1", "CP1255"), "\xD7\x90" + kFffd + "\xD7\x91", 1, 1);
  ExpectText(TranscodeToUtf8("\xE0", "CP1255"), "\xD7\x90", 0, 0);
}

TEST(TranscodeToUtf8, ChecksUtf8Strictly) {
  const std::string valid = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\r\n";
  ExpectText(TranscodeToUtf8(valid, "UTF-8"), valid, 0, 0);
  ExpectText(TranscodeToUtf8("Caf\xE9 ok", "utf8"), "Caf" + kFffd + " ok", 1, 1);
  // Overlong forms, surrogates and code points beyond U+10FFFF are replaced
  // byte by byte, as no start of them could become valid.
  ExpectText(TranscodeToUtf8("a\xC0\x80z", "UTF-8"), "a" + kFffd + kFffd + "z", 2, 1);
  ExpectText(TranscodeToUtf8("\xED\xA0\x80", "UTF-8"), kFffd + kFffd + kFffd, 3, 1);
  ExpectText(TranscodeToUtf8("\n\xF4\x90\x80\x80", "UTF-8"), "\n" + kFffd + kFffd + kFffd + kFffd,
             4, 2);
  // A broken or cut off sequence is one piece.
  ExpectText(TranscodeToUtf8("\xE2\x82z\xE2\x82", "UTF-8"), kFffd + "z" + kFffd, 2, 1);
}

TEST(TranscodeToUtf8, RefusesUnknownEncodingsAndConversionFlags) {
  for (const char* name : {"UTF-8", "utf-8", "UTF-16LE", "CP1251", "KOI8-R", "GB18030"}) {
    EXPECT_TRUE(CanTranscodeToUtf8(name)) << name;
  }
  for (const char* name : {"", "auto", "NO-SUCH-CODE", "CP1252//IGNORE", "UTF-8//TRANSLIT"}) {
    EXPECT_FALSE(CanTranscodeToUtf8(name)) << name;
    try {
      TranscodeToUtf8("abc", name);
      ADD_FAILURE() << name;
    } catch (const std::invalid_argument& error) {
      EXPECT_EQ(error.what(), "Unknown encoding '" + std::string(name) + "'");
    }
  }
}

}  // namespace
}  // namespace tesmora
