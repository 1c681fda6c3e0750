#include "subtitles/CodePageReplacements.h"

#include <gtest/gtest.h>

#include <string>

#include "subtitles/Charsets.h"
#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(CountCodePageReplacements, CountsTheUndecodableBytesOfEveryLineWithTheFirstLine) {
  const std::string text = "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xE9\r\n\r\nHe\x81llo\r\x8D\n";
  const LineList lines = SplitLines(text);
  const CodePageReplacements western = CountCodePageReplacements(lines, charset::kDefault);
  EXPECT_EQ(western.codePage, "CP1252");
  EXPECT_EQ(western.count, 2);
  EXPECT_EQ(western.firstLine, 5);
  // The same bytes in the Russian code page, where 0x81 and 0x8D are letters.
  const CodePageReplacements russian = CountCodePageReplacements(lines, charset::kRussian);
  EXPECT_EQ(russian.codePage, "CP1251");
  EXPECT_EQ(russian.count, 0);
  EXPECT_EQ(russian.firstLine, 0);
  // Hebrew holds a letter back; the byte after it still counts.
  const CodePageReplacements hebrew =
      CountCodePageReplacements(SplitLines("ok\n\xF9\xFF\xEC\n\xFF"), charset::kHebrew);
  EXPECT_EQ(hebrew.codePage, "CP1255");
  EXPECT_EQ(hebrew.count, 2);
  EXPECT_EQ(hebrew.firstLine, 2);
  // Symbol bytes pick glyphs: none is replaced.
  const CodePageReplacements symbol = CountCodePageReplacements(lines, charset::kSymbol);
  EXPECT_EQ(symbol.count, 0);
}

TEST(ReplacedCharactersNote, SaysWhatTheUnicodeDecodingOrTheCodePageReplaced) {
  const std::string text = "ok\r\n\x81 and \x81\r\n";
  const FileText codePage{text, false, "", 0, 0};
  EXPECT_EQ(ReplacedCharactersNote(codePage, SplitLines(text), charset::kDefault),
            "2 byte sequence(s) not valid in CP1252 were replaced by \xEF\xBF\xBD (U+FFFD), "
            "the first at line 2.");
  EXPECT_EQ(ReplacedCharactersNote(codePage, SplitLines(text), charset::kRussian), "");
  // Text converted at load keeps its own count: the charset plays no part.
  const std::string utf8 = "ok\r\n" + kFffd + "\r\n";
  const FileText unicode{utf8, true, "UTF-8", 1, 2};
  EXPECT_EQ(ReplacedCharactersNote(unicode, SplitLines(utf8), charset::kDefault),
            "1 byte sequence(s) not valid in UTF-8 were replaced by \xEF\xBF\xBD (U+FFFD), "
            "the first at line 2.");
  const FileText clean{"ok", true, "UTF-16LE", 0, 0};
  EXPECT_EQ(ReplacedCharactersNote(clean, SplitLines("ok"), charset::kDefault), "");
}

}  // namespace
}  // namespace tesmora
