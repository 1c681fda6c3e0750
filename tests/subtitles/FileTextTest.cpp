#include "subtitles/FileText.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "subtitles/Charsets.h"
#include "subtitles/DecodingNotes.h"
#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

using namespace std::string_literals;

const std::string kFffd = "\xEF\xBF\xBD";

void ExpectFile(const FileText& file, const std::string& text, const std::string& encoding,
                int invalid = 0, int firstLine = 0) {
  EXPECT_EQ(file.text, text);
  EXPECT_FALSE(file.symbol);
  EXPECT_EQ(file.encoding, encoding);
  EXPECT_EQ(file.invalidSequences, invalid);
  EXPECT_EQ(file.firstInvalidLine, firstLine);
}

// 8-bit text is read in the code page of the font charset, each line on its
// own; the lines come out ended by line feeds, the last empty one kept.
TEST(DecodeSubtitleFile, ReadsAn8BitFileLineByLineInTheCharsetsCodePage) {
  const std::string cyrillic = "\xCF\xF0\xE8\xE2\xE5\xF2";
  const FileText western = DecodeSubtitleFile(
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xE9\r\n\r\nHe\x81llo\r\x8D\n\n" + cyrillic, "auto",
      charset::kDefault);
  ExpectFile(western,
             "1\n00:00:01,000 --> 00:00:02,000\nCaf\xC3\xA9\n\nHe" + kFffd + "llo\n" + kFffd +
                 "\n\n\xC3\x8F\xC3\xB0\xC3\xA8\xC3\xA2\xC3\xA5\xC3\xB2\n",
             "", 2, 5);
  EXPECT_EQ(western.codePage, "CP1252");
  EXPECT_EQ(InvalidSequencesNote(western),
            "2 byte sequence(s) not valid in CP1252 were replaced by \xEF\xBF\xBD (U+FFFD), "
            "the first at line 5.");
  EXPECT_EQ(EncodingUsedNote(western), "");

  // The same bytes in the Russian code page, where 0x81 and 0x8D are letters.
  const FileText russian =
      DecodeSubtitleFile("He\x81llo\r\x8D\n" + cyrillic, "", charset::kRussian);
  ExpectFile(russian, "He\xD0\x83llo\n\xD0\x8C\n\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n",
             "");
  EXPECT_EQ(russian.codePage, "CP1251");
  EXPECT_EQ(InvalidSequencesNote(russian), "");

  // Hebrew holds a letter back until it knows no mark follows; the byte
  // after it is replaced after the letter, and the line's end lets the last
  // one out.
  const FileText hebrew = DecodeSubtitleFile("ok\n\xF9\xFF\xEC\n\xFF", "auto", charset::kHebrew);
  ExpectFile(hebrew, "ok\n\xD7\xA9" + kFffd + "\xD7\x9C\n" + kFffd + "\n", "", 2, 2);

  // A double-byte lead cut off by the end of its line is one replacement,
  // and the next line is read whole.
  const FileText japanese = DecodeSubtitleFile("a\x82\r\n\x82\xA0", "auto", charset::kShiftJis);
  ExpectFile(japanese, "a" + kFffd + "\n\xE3\x81\x82\n", "", 1, 1);
  EXPECT_EQ(japanese.codePage, "CP932");

  ExpectFile(DecodeSubtitleFile("", "auto", charset::kDefault), "", "");
}

// SYMBOL bytes pick glyphs: the file is kept as it is for the reader, and
// only its cue lines become the glyph codes U+F000 + byte.
TEST(DecodeSubtitleFile, KeepsTheBytesOfASymbolFileAndTurnsItsCueLinesIntoGlyphCodes) {
  const std::string bytes = "{1}{25}Ab\xE9\r\n";
  const FileText file = DecodeSubtitleFile(bytes, "auto", charset::kSymbol);
  EXPECT_TRUE(file.symbol);
  EXPECT_EQ(file.text, bytes);
  EXPECT_EQ(file.codePage, "");
  EXPECT_EQ(file.invalidSequences, 0);
  std::vector<SubtitleEntry> cues{{0, 1000, {"Ab\xE9", ""}}};
  SymbolCueLines(cues);
  EXPECT_EQ(cues[0].lines, (std::vector<std::string>{"\xEF\x81\x81\xEF\x81\xA2\xEF\x83\xA9", ""}));
  // A chosen encoding wins over the charset.
  ExpectFile(DecodeSubtitleFile("Caf\xE9", "CP1252", charset::kSymbol), "Caf\xC3\xA9", "CP1252");
}

TEST(DecodeSubtitleFile, ReadsUtf8AsUtf8) {
  const std::string text =
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu\r\n";
  ExpectFile(DecodeSubtitleFile(text, "auto", charset::kDefault), text, "UTF-8");
  // The byte-order mark is removed.
  ExpectFile(DecodeSubtitleFile("\xEF\xBB\xBF" + text, "auto", charset::kDefault), text, "UTF-8");
  ExpectFile(DecodeSubtitleFile("\xEF\xBB\xBF", "auto", charset::kDefault), "", "UTF-8");
  // With the mark, the file is UTF-8 even where it is broken.
  ExpectFile(DecodeSubtitleFile("\xEF\xBB\xBFok\r\n\r\nCaf\xE9", "auto", charset::kDefault),
             "ok\r\n\r\nCaf" + kFffd, "UTF-8", 1, 3);
}

// UTF-8 with one CP1252 ellipsis in it is UTF-8 with one replacement, not
// CP1252 throughout.
TEST(DecodeSubtitleFile, ReadsUtf8WithAStrayByteAsUtf8AndCountsTheReplacement) {
  const std::string head = "1\r\n00:00:01,000 --> 00:00:02,000\r\n";
  ExpectFile(
      DecodeSubtitleFile(head + "Caf\xC3\xA9 cr\xC3\xA8me\x85\r\n", "auto", charset::kDefault),
      head + "Caf\xC3\xA9 cr\xC3\xA8me" + kFffd + "\r\n", "UTF-8", 1, 3);
}

TEST(DecodeSubtitleFile, ReadsUtf16IntoUtf8Lines) {
  const std::string le = "1\0\r\0\n\0H\0\xE9\0\r\0\n\0"s;
  const std::string be =
      "\0"
      "1\0\r\0\n\0H\0\xE9\0\r\0\n"s;
  const std::string utf8 = "1\r\nH\xC3\xA9\r\n";
  ExpectFile(DecodeSubtitleFile("\xFF\xFE" + le, "auto", charset::kDefault), utf8, "UTF-16LE");
  ExpectFile(DecodeSubtitleFile("\xFE\xFF" + be, "", charset::kDefault), utf8, "UTF-16BE");
  ExpectFile(DecodeSubtitleFile(le, "AUTO", charset::kDefault), utf8, "UTF-16LE");
  ExpectFile(DecodeSubtitleFile(be, "Auto", charset::kDefault), utf8, "UTF-16BE");
  ExpectFile(DecodeSubtitleFile(le + "x", "auto", charset::kDefault), utf8 + kFffd, "UTF-16LE", 1,
             3);
  const std::string decoded = DecodeSubtitleFile("\xFF\xFE" + le, "auto", charset::kDefault).text;
  const LineList lines = SplitLines(decoded);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()),
            (std::vector<std::string>{"1", "H\xC3\xA9"}));
}

TEST(DecodeSubtitleFile, LetsAChosenEncodingHoldForTheWholeFile) {
  ExpectFile(DecodeSubtitleFile("\xCF\xF0\xE8\xE2\xE5\xF2", "CP1251", charset::kDefault),
             "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "CP1251");
  // Even plain ASCII is then converted text.
  ExpectFile(DecodeSubtitleFile("abc", "CP1252", charset::kDefault), "abc", "CP1252");
  // The choice wins over what the bytes look like.
  ExpectFile(DecodeSubtitleFile("Caf\xC3\xA9", "ISO-8859-1", charset::kDefault),
             "Caf\xC3\x83\xC2\xA9", "ISO-8859-1");
  // A byte-order mark read in the chosen encoding is removed.
  ExpectFile(DecodeSubtitleFile("\xFF\xFE"
                                "a\0"s,
                                "UTF-16LE", charset::kDefault),
             "a", "UTF-16LE");
  ExpectFile(DecodeSubtitleFile("\xEF\xBB\xBF"
                                "a",
                                "utf-8", charset::kDefault),
             "a", "utf-8");
  // Invalid sequences in it are replaced and reported.
  ExpectFile(DecodeSubtitleFile("ok\nCaf\xE9\n\xE9", "UTF-8", charset::kDefault),
             "ok\nCaf" + kFffd + "\n" + kFffd, "UTF-8", 2, 2);
}

TEST(DecodeSubtitleFile, RefusesAnUnknownEncoding) {
  EXPECT_THROW(DecodeSubtitleFile("abc", "NO-SUCH-CODE", charset::kDefault), std::invalid_argument);
  EXPECT_TRUE(IsKnownEncoding("auto"));
  EXPECT_TRUE(IsKnownEncoding("AUTO"));
  EXPECT_TRUE(IsKnownEncoding(""));
  EXPECT_FALSE(IsKnownEncoding("NO-SUCH-CODE"));
}

}  // namespace
}  // namespace tesmora
