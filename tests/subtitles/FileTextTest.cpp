#include "subtitles/FileText.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "subtitles/TextLines.h"

namespace tesmora {
namespace {

using namespace std::string_literals;

const std::string kFffd = "\xEF\xBF\xBD";

void ExpectFile(const FileText& file, const std::string& bytes, bool utf8,
                const std::string& encoding, int invalid = 0, int firstLine = 0) {
  EXPECT_EQ(file.bytes, bytes);
  EXPECT_EQ(file.utf8, utf8);
  EXPECT_EQ(file.encoding, encoding);
  EXPECT_EQ(file.invalidSequences, invalid);
  EXPECT_EQ(file.firstInvalidLine, firstLine);
}

TEST(DecodeSubtitleFile, LeavesAn8BitFileAsItIs) {
  for (const std::string& bytes : {"{1}{25}Hello|World\r\n"s, "Caf\xE9 d\xE9j\xE0 vu\r\n"s,
                                   "\xCF\xF0\xE8\xE2\xE5\xF2"s, "{1}{25}a\x81\0b\r\n"s, ""s}) {
    ExpectFile(DecodeSubtitleFile(bytes, "auto"), bytes, false, "");
  }
}

TEST(DecodeSubtitleFile, ReadsUtf8AsUtf8) {
  const std::string text =
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nCaf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu\r\n";
  ExpectFile(DecodeSubtitleFile(text, "auto"), text, true, "UTF-8");
  // The byte-order mark is removed.
  ExpectFile(DecodeSubtitleFile("\xEF\xBB\xBF" + text, "auto"), text, true, "UTF-8");
  ExpectFile(DecodeSubtitleFile("\xEF\xBB\xBF", "auto"), "", true, "UTF-8");
  // With the mark, the file is UTF-8 even where it is broken.
  ExpectFile(DecodeSubtitleFile("\xEF\xBB\xBFok\r\n\r\nCaf\xE9", "auto"), "ok\r\n\r\nCaf" + kFffd,
             true, "UTF-8", 1, 3);
}

// UTF-8 with one CP1252 ellipsis in it is UTF-8 with one replacement, not
// CP1252 throughout.
TEST(DecodeSubtitleFile, ReadsUtf8WithAStrayByteAsUtf8AndCountsTheReplacement) {
  const std::string head = "1\r\n00:00:01,000 --> 00:00:02,000\r\n";
  ExpectFile(DecodeSubtitleFile(head + "Caf\xC3\xA9 cr\xC3\xA8me\x85\r\n", "auto"),
             head + "Caf\xC3\xA9 cr\xC3\xA8me" + kFffd + "\r\n", true, "UTF-8", 1, 3);
}

TEST(DecodeSubtitleFile, ReadsUtf16IntoUtf8Lines) {
  const std::string le = "1\0\r\0\n\0H\0\xE9\0\r\0\n\0"s;
  const std::string be =
      "\0"
      "1\0\r\0\n\0H\0\xE9\0\r\0\n"s;
  const std::string utf8 = "1\r\nH\xC3\xA9\r\n";
  ExpectFile(DecodeSubtitleFile("\xFF\xFE" + le, "auto"), utf8, true, "UTF-16LE");
  ExpectFile(DecodeSubtitleFile("\xFE\xFF" + be, ""), utf8, true, "UTF-16BE");
  ExpectFile(DecodeSubtitleFile(le, "AUTO"), utf8, true, "UTF-16LE");
  ExpectFile(DecodeSubtitleFile(be, "Auto"), utf8, true, "UTF-16BE");
  ExpectFile(DecodeSubtitleFile(le + "x", "auto"), utf8 + kFffd, true, "UTF-16LE", 1, 3);
  const std::string decoded = DecodeSubtitleFile("\xFF\xFE" + le, "auto").bytes;
  const LineList lines = SplitLines(decoded);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()),
            (std::vector<std::string>{"1", "H\xC3\xA9"}));
}

TEST(DecodeSubtitleFile, LetsAChosenEncodingHoldForTheWholeFile) {
  ExpectFile(DecodeSubtitleFile("\xCF\xF0\xE8\xE2\xE5\xF2", "CP1251"),
             "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", true, "CP1251");
  // Even plain ASCII is then converted text.
  ExpectFile(DecodeSubtitleFile("abc", "CP1252"), "abc", true, "CP1252");
  // The choice wins over what the bytes look like.
  ExpectFile(DecodeSubtitleFile("Caf\xC3\xA9", "ISO-8859-1"), "Caf\xC3\x83\xC2\xA9", true,
             "ISO-8859-1");
  // A byte-order mark read in the chosen encoding is removed.
  ExpectFile(DecodeSubtitleFile("\xFF\xFE"
                                "a\0"s,
                                "UTF-16LE"),
             "a", true, "UTF-16LE");
  ExpectFile(DecodeSubtitleFile("\xEF\xBB\xBF"
                                "a",
                                "utf-8"),
             "a", true, "utf-8");
  // Invalid sequences in it are replaced and reported.
  ExpectFile(DecodeSubtitleFile("ok\nCaf\xE9\n\xE9", "UTF-8"), "ok\nCaf" + kFffd + "\n" + kFffd,
             true, "UTF-8", 2, 2);
}

TEST(DecodeSubtitleFile, RefusesAnUnknownEncoding) {
  EXPECT_THROW(DecodeSubtitleFile("abc", "NO-SUCH-CODE"), std::invalid_argument);
  EXPECT_TRUE(IsKnownEncoding("auto"));
  EXPECT_TRUE(IsKnownEncoding("AUTO"));
  EXPECT_TRUE(IsKnownEncoding(""));
  EXPECT_FALSE(IsKnownEncoding("NO-SUCH-CODE"));
}

}  // namespace
}  // namespace tesmora
