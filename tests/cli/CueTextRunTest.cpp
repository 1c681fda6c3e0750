// Whole runs of the converter on subtitle text as today's files hold it:
// encodings, markup, cues of many lines, placements and wrapping.
#include <gtest/gtest.h>

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "tests/cli/CliHarness.h"
#include "tests/cli/SupStream.h"

namespace tesmora {
namespace {

using testing::CliOutcome;
using testing::PacketSummary;
using testing::ReadPackets;
using testing::RunConverter;

constexpr std::uint8_t kText = 1;  // the pixel code of the Text role

QByteArray Srt(const QByteArray& cueText) {
  return "1\r\n00:00:01,000 --> 00:00:03,000\r\n" + cueText + "\r\n";
}

// Without a byte-order mark.
QByteArray Utf16Le(const QString& text) {
  QStringEncoder encoder(QStringConverter::Utf16LE);
  return encoder.encode(text);
}

// The separate stretches of rows holding Text ink in the top field, one per
// drawn line of text.
int TextLines(const PacketSummary& packet) {
  return testing::RowStretches(packet, [](std::uint8_t code) { return code == kText; });
}

long TextPixels(const PacketSummary& packet) {
  long count = 0;
  for (const auto& row : packet.rows) {
    count += std::count(row.begin(), row.end(), kText);
  }
  return count;
}

class cliCueText : public testing::ConvertingFolderTest {
 protected:
  PacketSummary onlyPacket(const QByteArray& stream) {
    const auto packets = ReadPackets(stream);
    EXPECT_EQ(packets.size(), 1u);
    return packets.empty() ? PacketSummary{} : packets[0];
  }
};

// "Hello, how are you?" in Russian.
const QString kRussian = QStringLiteral(
    "\u041F\u0440\u0438\u0432\u0435\u0442, \u043A\u0430\u043A \u0434\u0435\u043B\u0430?");

TEST_F(cliCueText, ARussianFileGivesOneStreamInItsCodePageChosenOrDetectedAndInUtf8) {
  QByteArray bytes;
  for (const QChar c : kRussian) {
    // Cyrillic А..я sit at 0xC0..0xFF in CP1251.
    bytes += c.unicode() >= 0x410 && c.unicode() <= 0x44F
                 ? static_cast<char>(c.unicode() - 0x410 + 0xC0)
                 : static_cast<char>(c.unicode());
  }
  const QByteArray codePage = convert("ru.srt", Srt(bytes), {"--charset", "RUSSIAN"});
  EXPECT_EQ(last.err, "");
  EXPECT_EQ(convert("ru.srt", Srt(bytes), {"--charset", "RUSSIAN", "--encoding", "CP1251"}),
            codePage);
  EXPECT_EQ(last.err, "The subtitle text was read as CP1251.\n");
  EXPECT_EQ(convert("ru.srt", Srt(kRussian.toUtf8()), {"--charset", "RUSSIAN"}), codePage);
  EXPECT_EQ(last.err, "The subtitle text was read as UTF-8.\n");
  EXPECT_EQ(convert("ru.srt", Srt(kRussian.toUtf8()), {"--charset", "RUSSIAN", "--quiet"}),
            codePage);
  EXPECT_EQ(last.err, "");
  // Read as Western text, the same bytes draw other letters.
  EXPECT_NE(convert("ru.srt", Srt(bytes)), codePage);
}

// Every character a load replaces is said, with the count and the first line,
// quiet or not; the text is drawn with U+FFFD in its place.
TEST_F(cliCueText, ReplacedCharactersAreSaidInEveryEncodingEvenWhenQuiet) {
  const std::string western =
      "1 byte sequence(s) not valid in CP1252 were replaced by \xEF\xBF\xBD (U+FFFD), the first "
      "at line 3.\n";
  const std::string unicode =
      "1 byte sequence(s) not valid in UTF-8 were replaced by \xEF\xBF\xBD (U+FFFD), the first "
      "at line 3.\n";
  const std::string readAs = "The subtitle text was read as UTF-8.\n";

  // A byte CP1252 has no character for.
  const QByteArray replaced = convert("a.srt", Srt("Caf\xC3\xA9 \xEF\xBF\xBD ok"), {"--quiet"});
  EXPECT_EQ(last.err, "");
  EXPECT_EQ(convert("a.srt", Srt("Caf\xE9 \x81 ok")), replaced);
  EXPECT_EQ(last.err, western);
  EXPECT_EQ(convert("a.srt", Srt("Caf\xE9 \x81 ok"), {"--quiet"}), replaced);
  EXPECT_EQ(last.err, western);

  // One stray byte in UTF-8 text without a byte-order mark.
  EXPECT_EQ(convert("a.srt", Srt("Caf\xC3\xA9 \xFF ok")), replaced);
  EXPECT_EQ(last.err, readAs + unicode);
  EXPECT_EQ(convert("a.srt", Srt("Caf\xC3\xA9 \xFF ok"), {"--quiet"}), replaced);
  EXPECT_EQ(last.err, unicode);

  // A CP1252 ellipsis in UTF-8 text leaves the rest UTF-8.
  const QByteArray creme = convert("a.srt", Srt("Caf\xC3\xA9 cr\xC3\xA8me\xEF\xBF\xBD"));
  EXPECT_EQ(convert("a.srt", Srt("Caf\xC3\xA9 cr\xC3\xA8me\x85")), creme);
  EXPECT_EQ(last.err, readAs + unicode);
}

// A code-page file is read once, at load, in the code page of --charset:
// the byte that code page lacks is said with its line, and the stream is the
// one of the same text written in UTF-8 with U+FFFD in its place.
TEST_F(cliCueText, AByteTheCharsetsCodePageLacksIsSaidAtLoadWithItsLine) {
  const QByteArray film =
      Srt("\xC4\xE0") + "\r\n2\r\n00:00:04,000 --> 00:00:05,000\r\n\xCD\xE5\x98\r\n";
  const QByteArray utf8 =
      Srt("\xD0\x94\xD0\xB0") +
      "\r\n2\r\n00:00:04,000 --> 00:00:05,000\r\n\xD0\x9D\xD0\xB5\xEF\xBF\xBD\r\n";
  const QByteArray replaced = convert("ru.srt", utf8, {"--charset", "RUSSIAN", "--quiet"});
  const std::string note =
      "1 byte sequence(s) not valid in CP1251 were replaced by \xEF\xBF\xBD (U+FFFD), the first "
      "at line 7.\n";
  EXPECT_EQ(convert("ru.srt", film, {"--charset", "RUSSIAN", "--quiet"}), replaced);
  EXPECT_EQ(last.err, note);
  // In the Western code page 0x98 is a small tilde: nothing is replaced.
  convert("ru.srt", film);
  EXPECT_EQ(last.err, "");
}

TEST_F(cliCueText, AnUnknownEncodingIsAUsageError) {
  const CliOutcome outcome =
      RunConverter({"--encoding", "KLINGON-8", write("a.srt", Srt("Hello"))});
  EXPECT_EQ(outcome.code, 2);
  EXPECT_NE(outcome.err.find("--encoding must be auto or an encoding iconv knows"),
            std::string::npos)
      << outcome.err;
  EXPECT_FALSE(QDir(dir.path()).exists("Generated.sup"));
}

TEST_F(cliCueText, AUtf16FileWithoutByteOrderMarkIsRecognised) {
  const QString french = QStringLiteral("L'\u00E9t\u00E9 \u00E0 No\u00EBl");
  const QByteArray cp1252 = convert("fr.srt", Srt(french.toLatin1()));
  EXPECT_EQ(convert("fr.srt", Utf16Le(QString::fromUtf8(Srt(french.toUtf8())))), cp1252);
  EXPECT_EQ(last.err, "The subtitle text was read as UTF-16LE.\n");
}

TEST_F(cliCueText, MarkupIsDrawnAsTheStyleItAsksForOrAsTextWithNoMarkup) {
  const QByteArray italicStyle = convert("a.srt", Srt("Harbour"), {"--style", "Italic"});
  const QByteArray tagged = convert("a.srt", Srt("<i>Harbour</i>"));
  EXPECT_EQ(tagged, italicStyle);
  EXPECT_EQ(convert("a.sub", "{1}{1}25\n{25}{75}/Harbour\n"), italicStyle);

  const QByteArray plain = convert("a.srt", Srt("Harbour"));
  EXPECT_EQ(convert("a.srt", Srt("Harbour"), {"--no-markup"}), plain);
  const QByteArray literal = convert("a.srt", Srt("<i>Harbour</i>"), {"--no-markup"});
  EXPECT_NE(literal, tagged);
  // The tags are drawn as characters, beside the upright word.
  EXPECT_GT(TextPixels(onlyPacket(literal)), TextPixels(onlyPacket(plain)) + 100);
}

// The frame reader takes the last braces of a line for the frames, so a
// control code at the start of the text does not load yet.
TEST_F(cliCueText, AMicroDvdItalicCodeDrawsTheItalicStyle) {
  EXPECT_EQ(convert("a.sub", "{1}{1}25\n{25}{75}{y:i}Harbour\n"),
            convert("a.sub", "{1}{1}25\n{25}{75}Harbour\n", {"--style", "Italic"}));
}

// The readers keep the first two lines of a cue so far.
TEST_F(cliCueText, EveryLineOfACueIsDrawn) {
  for (const auto& [text, lines] :
       std::vector<std::pair<QByteArray, int>>{{"One", 1},
                                               {"One\r\nTwo", 2},
                                               {"One\r\nTwo\r\nThree", 3},
                                               {"One\r\nTwo\r\nThree\r\nFour", 4}}) {
    EXPECT_EQ(TextLines(onlyPacket(convert("a.srt", Srt(text)))), lines) << text.toStdString();
  }
  // The block grows upwards: the last line stays where a second line sits.
  const PacketSummary two = onlyPacket(convert("a.srt", Srt("One\r\nTwo")));
  const PacketSummary four = onlyPacket(convert("a.srt", Srt("One\r\nTwo\r\nThree\r\nFour")));
  EXPECT_EQ(four.lastRow, two.lastRow);
  EXPECT_LT(four.firstRow, two.firstRow);
}

TEST_F(cliCueText, ATopPlacedCueIsDrawnAtTheTopOfTheFrame) {
  const PacketSummary bottom = onlyPacket(convert("a.srt", Srt("Harbour")));
  const PacketSummary top = onlyPacket(convert("a.srt", Srt("{\\an8}Harbour")));
  EXPECT_GT(bottom.firstRow, 576 / 2);
  EXPECT_LT(top.lastRow, 576 / 4);
  // The same line, moved: as much ink.
  EXPECT_EQ(TextPixels(top), TextPixels(bottom));
}

TEST_F(cliCueText, WrapBreaksALineTooWideInsteadOfRefusingTheFile) {
  const QByteArray wide =
      "This line of the harbour film is far too wide to fit on the frame in one piece";
  const CliOutcome refused = RunConverter({write("a.srt", Srt(wide))});
  EXPECT_EQ(refused.code, 1);
  EXPECT_FALSE(QDir(dir.path()).exists("Generated.sup"));

  EXPECT_EQ(TextLines(onlyPacket(convert("a.srt", Srt(wide), {"--wrap"}))), 2);
  const QByteArray oneWord(60, 'W');
  EXPECT_EQ(RunConverter({"--wrap", write("b.srt", Srt(oneWord))}).code, 1);
}

TEST_F(cliCueText, MarkupLeftOutAndCharactersWithoutGlyphAreSaidEvenWhenQuiet) {
  convert("a.srt", Srt("<font color=\"red\">Red</font> \xEE\x80\x80"), {"--quiet"});
  EXPECT_EQ(last.err,
            "1 markup tag(s) that a subpicture cannot show were left out, the first in cue 1: "
            "<font color=\"red\">.\n"
            "No installed font can draw \"\xEE\x80\x80\" (U+E000), first in cue 1; they come out "
            "as empty boxes. Install a font that covers them.\n");
}

}  // namespace
}  // namespace tesmora
