#include "subtitles/Utf8Sequence.h"

#include <gtest/gtest.h>

#include <string>

namespace tesmora {
namespace {

struct Expected {
  std::string bytes;
  std::size_t length;
  bool valid;
};

void ExpectSteps(const std::vector<Expected>& cases) {
  for (const Expected& c : cases) {
    const Utf8Step step = NextUtf8Sequence(c.bytes);
    EXPECT_EQ(step.length, c.length) << testing::PrintToString(c.bytes);
    EXPECT_EQ(step.valid, c.valid) << testing::PrintToString(c.bytes);
  }
}

TEST(NextUtf8Sequence, AcceptsEachLengthUpToItsBoundaries) {
  ExpectSteps({
      {std::string(1, '\0'), 1, true},
      {"\x7F", 1, true},
      {"\xC2\x80", 2, true},          // U+0080
      {"\xDF\xBF", 2, true},          // U+07FF
      {"\xE0\xA0\x80", 3, true},      // U+0800
      {"\xED\x9F\xBF", 3, true},      // U+D7FF, just below the surrogates
      {"\xEE\x80\x80", 3, true},      // U+E000, just above them
      {"\xEF\xBF\xBF", 3, true},      // U+FFFF
      {"\xF0\x90\x80\x80", 4, true},  // U+10000
      {"\xF4\x8F\xBF\xBF", 4, true},  // U+10FFFF
      {"\xC3\xA9z", 2, true},         // only the first sequence
  });
}

TEST(NextUtf8Sequence, RejectsOverlongSurrogatesAndBeyondUnicode) {
  ExpectSteps({
      {"\x80", 1, false},  // continuation without a lead
      {"\xBF\xBF", 1, false},
      {"\xC0\x80", 1, false},          // overlong U+0000
      {"\xC1\xBF", 1, false},          // overlong U+007F
      {"\xE0\x9F\xBF", 1, false},      // overlong U+07FF
      {"\xED\xA0\x80", 1, false},      // surrogate U+D800
      {"\xED\xBF\xBF", 1, false},      // surrogate U+DFFF
      {"\xF0\x8F\xBF\xBF", 1, false},  // overlong U+FFFF
      {"\xF4\x90\x80\x80", 1, false},  // U+110000
      {"\xF5\x80\x80\x80", 1, false},
      {"\xF8\x88\x80\x80\x80", 1, false},
      {"\xFF", 1, false},
  });
}

TEST(NextUtf8Sequence, CoversABrokenOrCutOffSequenceAsOnePiece) {
  ExpectSteps({
      {"\xE2\x82", 2, false},  // the euro sign cut off by the end
      {"\xE2", 1, false},
      {"\xF0\x9F\x98", 3, false},  // an emoji cut off by the end
      {"\xE2\x82z", 2, false},     // broken by an ASCII byte
      {"\xC3\xC3\xA9", 1, false},  // broken by a new lead byte
      {"\xF0\x9F\x98\x28", 3, false},
  });
}

TEST(IsValidUtf8, ChecksTheWholeText) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ASCII\r\n"));
  EXPECT_TRUE(IsValidUtf8("Caf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu \xE2\x82\xAC \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("Caf\xE9"));           // the same word in CP1252
  EXPECT_FALSE(IsValidUtf8("Caf\xC3"));           // cut off at the end
  EXPECT_FALSE(IsValidUtf8("a\xC0\xAF"));         // overlong "/"
  EXPECT_FALSE(IsValidUtf8("a\xED\xB2\x80z"));    // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8(std::string(5000, 'a') + "\xA0"));
}

}  // namespace
}  // namespace tesmora
