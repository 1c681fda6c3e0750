// Messages on the terminal: line separators, and text quoted from a file
// that must not reach the terminal as control codes.
#include <gtest/gtest.h>

#include <new>
#include <sstream>

#include "cli/CliConsole.h"

namespace tesmora::cli {
namespace {

// Named so that `ctest -R cli` picks out the converter's suites.
TEST(cliTerminalText, TurnsCarriageReturnsIntoLineBreaks) {
  EXPECT_EQ(TerminalText("The string \rone\rtwo\ris too long."),
            "The string \none\ntwo\nis too long.");
  EXPECT_EQ(TerminalText("tab\tand\nbreak"), "tab\tand\nbreak");
}

TEST(cliTerminalText, EscapesControlCodes) {
  EXPECT_EQ(TerminalText("\x1b]0;owned\x07title\x1b[2J"), "\\x1b]0;owned\\x07title\\x1b[2J");
  EXPECT_EQ(TerminalText(std::string("a\0b\x7f", 4)), "a\\x00b\\x7f");
  // C1 controls as UTF-8 (U+009B is a one-character CSI) and as lone bytes.
  EXPECT_EQ(TerminalText("\xC2\x9B"
                         "2J\xC2\x85"),
            "\\x9b2J\\x85");
  EXPECT_EQ(TerminalText("\x9b"
                         "2J"),
            "\\x9b2J");
}

TEST(cliTerminalText, KeepsFileNameBytesAndEscapesThoseATerminalTakesForControls) {
  EXPECT_EQ(TerminalText("Café € 日本 😀 \xC2\xA0"), "Café € 日本 😀 \xC2\xA0");
  // Bytes of a name in another encoding stay, so the name printed is the
  // name on disk: Latin-1, a cut sequence, an overlong form, a surrogate.
  EXPECT_EQ(TerminalText("caf\xE9/bad\xFF"), "caf\xE9/bad\xFF");
  EXPECT_EQ(TerminalText("\xE2\x82"), "\xE2\\x82");
  EXPECT_EQ(TerminalText("\xC0\xAF"), "\xC0\xAF");
  EXPECT_EQ(TerminalText("\xED\xA0\x80"), "\xED\xA0\\x80");
  // A lone byte 0x80 to 0x9F is a C1 control to an 8-bit terminal (0x9B is CSI).
  EXPECT_EQ(TerminalText("a\x9B"
                         "2Jb"),
            "a\\x9b"
            "2Jb");
}

TEST(cliRunStoppable, EndsARunOutOfMemoryWithAMessageAndStatus1) {
  std::ostringstream out;
  std::ostringstream err;
  const Console console{out, err, false};
  EXPECT_EQ(RunStoppable(console,
                         [&] {
                           out << "before";
                           throw std::bad_alloc();
                         }),
            1);
  EXPECT_EQ(out.str(), "before");
  EXPECT_EQ(err.str(),
            "tesmora-cli: there was not enough memory to finish; the run was stopped.\n");

  err.str("");
  EXPECT_EQ(RunStoppable(console, [] { throw CliError(kExitOutput, "full\rdisk"); }), 3);
  EXPECT_EQ(err.str(), "full\ndisk\n");
  EXPECT_EQ(RunStoppable(console, [] {}), 0);
}

}  // namespace
}  // namespace tesmora::cli
