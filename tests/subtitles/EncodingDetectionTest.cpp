#include "subtitles/EncodingDetection.h"

#include <gtest/gtest.h>

#include <string>

namespace tesmora {
namespace {

// Text as UTF-16 bytes, low byte first or high byte first.
std::string Utf16(std::u16string_view text, bool littleEndian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += littleEndian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

const std::string kSrt = "1\r\n00:00:01,000 --> 00:00:04,000\r\nHello\r\n\r\n";
const std::u16string kSrt16 = u"1\r\n00:00:01,000 --> 00:00:04,000\r\nHello\r\n\r\n";

TEST(DetectUnicodeEncoding, LetsAByteOrderMarkDecide) {
  EXPECT_EQ(DetectUnicodeEncoding("\xEF\xBB\xBF" + kSrt), "UTF-8");
  EXPECT_EQ(DetectUnicodeEncoding("\xEF\xBB\xBF"), "UTF-8");
  EXPECT_EQ(DetectUnicodeEncoding("\xFF\xFE" + Utf16(kSrt16, true)), "UTF-16LE");
  EXPECT_EQ(DetectUnicodeEncoding("\xFE\xFF" + Utf16(kSrt16, false)), "UTF-16BE");
  // The mark wins over what the rest looks like.
  EXPECT_EQ(DetectUnicodeEncoding("\xFE\xFF" + Utf16(kSrt16, true)), "UTF-16BE");
  EXPECT_EQ(DetectUnicodeEncoding("\xFF\xFE"
                                  "Caf\xE9"),
            "UTF-16LE");
}

TEST(DetectUnicodeEncoding, KnowsUtf16WithoutAMarkByItsZeroBytes) {
  EXPECT_EQ(DetectUnicodeEncoding(Utf16(kSrt16, true)), "UTF-16LE");
  EXPECT_EQ(DetectUnicodeEncoding(Utf16(kSrt16, false)), "UTF-16BE");
  // An odd byte at the end is left out of the count.
  EXPECT_EQ(DetectUnicodeEncoding(Utf16(kSrt16, true) + "x"), "UTF-16LE");
  EXPECT_EQ(DetectUnicodeEncoding(Utf16(kSrt16, false) + "x"), "UTF-16BE");
  // A MicroDVD line of Russian text: only the frames, the line separator and
  // the break are ASCII, under half of the code units.
  EXPECT_EQ(DetectUnicodeEncoding(Utf16(u"{100}{250}Здравствуйте|Тишина\r\n", true)), "UTF-16LE");
  EXPECT_EQ(DetectUnicodeEncoding(Utf16(u"{100}{250}Здравствуйте|Тишина\r\n", false)), "UTF-16BE");
}

TEST(DetectUnicodeEncoding, LeavesOtherZeroBytesToTheCodePage) {
  // Zero padding after 8-bit text puts zeros on both sides alike.
  EXPECT_EQ(DetectUnicodeEncoding(kSrt + std::string(kSrt.size() + 1, '\0')), "");
  EXPECT_EQ(DetectUnicodeEncoding(std::string(100, '\0')), "");
  // A stray zero in 8-bit text.
  EXPECT_EQ(DetectUnicodeEncoding(kSrt + std::string(1, '\0') + kSrt), "");
  // UTF-16 of Chinese text has no zero bytes to go by.
  EXPECT_EQ(DetectUnicodeEncoding("\x2D\x4E\x87\x65\x57\x5B\x55\x5E"), "");
}

TEST(DetectUnicodeEncoding, ReadsValidUtf8WithMultiByteSequencesAsUtf8) {
  EXPECT_EQ(DetectUnicodeEncoding(kSrt + "Caf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu\r\n"), "UTF-8");
  // The whole file is looked at, not just its start.
  EXPECT_EQ(DetectUnicodeEncoding(std::string(10000, 'a') + "\xE2\x82\xAC"), "UTF-8");
  EXPECT_EQ(DetectUnicodeEncoding("\xE2\x82\xAC" + std::string(10000, 'a') + "\xE9\xE8"), "");
  // Pure ASCII reads the same in every code page.
  EXPECT_EQ(DetectUnicodeEncoding(kSrt), "");
  EXPECT_EQ(DetectUnicodeEncoding(""), "");
  // Code page text without a well-formed UTF-8 sequence.
  EXPECT_EQ(DetectUnicodeEncoding(kSrt + "Caf\xE9\r\n"), "");
  EXPECT_EQ(DetectUnicodeEncoding("\xCF\xF0\xE8\xE2\xE5\xF2"), "");  // CP1251
  // Overlong forms and surrogates are ill-formed, one piece each byte.
  EXPECT_EQ(DetectUnicodeEncoding("\xC3\xA9\xC0\xAF"), "");
  EXPECT_EQ(DetectUnicodeEncoding("\xC3\xA9\xED\xA0\x80"), "");
}

// A stray byte in UTF-8 text, from a code page or a damaged copy, leaves the
// file UTF-8: read as a code page instead, every other accented letter would
// turn into two wrong ones.
TEST(DetectUnicodeEncoding, ReadsUtf8WithAFewStrayBytesAsUtf8) {
  EXPECT_EQ(DetectUnicodeEncoding(kSrt + "Caf\xC3\xA9 \xFF ok\r\n"), "UTF-8");
  // CP1252's ellipsis after UTF-8 accents.
  EXPECT_EQ(DetectUnicodeEncoding(kSrt + "Caf\xC3\xA9 cr\xC3\xA8me\x85\r\n"), "UTF-8");
  EXPECT_EQ(DetectUnicodeEncoding("\xE2\x82\xAC" + std::string(10000, 'a') + "\xE9"), "UTF-8");
  // As many ill-formed pieces as well-formed sequences is the limit.
  EXPECT_EQ(DetectUnicodeEncoding("\xC3\xA9\xC3\xA8 \x85\x85"), "UTF-8");
  EXPECT_EQ(DetectUnicodeEncoding("\xC3\xA9\xC3\xA8 \x85\x85\x85"), "");
}

// Code page text may hold a well-formed UTF-8 sequence by chance: "\xDF\x93"
// is a sharp s before a closing quote in CP1252 and one character in UTF-8.
// The other accented letters of the text outnumber it.
TEST(DetectUnicodeEncoding, LeavesCodePageTextWithAChanceSequenceToTheCodePage) {
  EXPECT_EQ(DetectUnicodeEncoding(kSrt + "\x84Mein Fu\xDF\x93, sagte er. \xDC"
                                         "ber die Br\xFC"
                                         "cke\r\n"),
            "");
  EXPECT_EQ(DetectUnicodeEncoding("Stra\xDF\x93 \xFC\xE4"), "");
}

}  // namespace
}  // namespace tesmora
