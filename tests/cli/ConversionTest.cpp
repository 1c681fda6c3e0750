// Whole runs of the converter: from a subtitle file in a temporary folder to
// the stream and the help file, and the runs it refuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <array>

#include "output/HelpFile.h"
#include "subtitles/FrameReader.h"
#include "tests/cli/CliHarness.h"
#include "tests/cli/SupStream.h"
#include "tests/palette/IfoBuilder.h"

namespace tesmora {
namespace {

using testing::CliOutcome;
using testing::IfoBuilder;
using testing::ReadBytes;
using testing::ReadPackets;
using testing::RunConverter;
using testing::WriteBytes;

const QByteArray kThreeCues =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello harbour.\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:05,000\r\nTwo lines\r\nat once.\r\n\r\n"
    "3\r\n00:01:00,250 --> 00:01:02,000\r\nCaf\xE9 on the pier.\r\n";

// Outline surrounds Antialias, which surrounds Text: along a row, Text meets
// only Antialias and Background meets only Outline, and every role shows. A
// role encoded with another role's colour breaks this.
void ExpectRingsInOrder(const testing::PacketSummary& packet) {
  std::array<long, 4> counts{};
  int wrongNeighbours = 0;
  for (const auto& row : packet.rows) {
    for (std::size_t x = 0; x < row.size(); ++x) {
      ++counts[row[x]];
      if (x > 0 && row[x] != row[x - 1]) {
        const int pair = std::min(row[x], row[x - 1]) * 10 + std::max(row[x], row[x - 1]);
        wrongNeighbours += pair == 1 || pair == 3 || pair == 12;  // 0-1, 0-3, 1-2
      }
    }
  }
  EXPECT_EQ(wrongNeighbours, 0);
  EXPECT_GT(counts[1], 0) << "Text";
  EXPECT_GT(counts[2], 0) << "Outline";
  EXPECT_GT(counts[3], 0) << "Antialias";
}

class ConversionTest : public testing::ConverterFolderTest {
 protected:
  QByteArray stream() const { return ReadBytes(path(kStreamFileName)); }
  // A refusal with status 1 that leaves the earlier stream as it was.
  void expectRefusedKeeping(const CliOutcome& outcome, const std::string& message) const {
    EXPECT_EQ(outcome.code, 1);
    EXPECT_EQ(outcome.err, message);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(stream(), "earlier stream");
  }
  // A run refused before any output: its message, and nothing written.
  void expectRefused(const CliOutcome& outcome, int code, const std::string& message) const {
    EXPECT_EQ(outcome.code, code);
    EXPECT_EQ(outcome.err, message);
    EXPECT_FALSE(entries().contains(kStreamFileName)) << outcome.err;
    EXPECT_FALSE(entries().contains(kHelpFileName)) << outcome.err;
  }
};

// Named so that `ctest -R cli` picks out the converter's suites.
using cliConversion = ConversionTest;

TEST_F(cliConversion, WritesOnePacketPerCueAndTheHelpFileBesideTheSubtitles) {
  const CliOutcome outcome = RunConverter({write("film.srt", kThreeCues)});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(entries(), QStringList({kStreamFileName, kHelpFileName, "film.srt"}));

  const auto packets = ReadPackets(stream());
  ASSERT_EQ(packets.size(), 3u);
  EXPECT_EQ(packets[0].pts, 1000u * 90);
  EXPECT_EQ(packets[1].pts, 3000u * 90);
  EXPECT_EQ(packets[2].pts, 60250u * 90);
  // The generic palette's roles: Antialias 1, Outline 0, Text 3, Background 0.
  EXPECT_EQ(packets[0].colours[0], 0x10);
  EXPECT_EQ(packets[0].colours[1], 0x30);
  for (const auto& packet : packets) {
    ASSERT_EQ(packet.rows.size(), static_cast<std::size_t>(packet.lastRow - packet.firstRow + 1));
    ExpectRingsInOrder(packet);
  }

  std::string help;
  for (const std::string& line : HelpFileLines(HelpCase::NoIfo, folder())) {
    help += line + "\r\n";
  }
  EXPECT_EQ(ReadBytes(path(kHelpFileName)).toStdString(), help);

  // The closing message, its CR separators shown as line breaks.
  EXPECT_EQ(outcome.out.rfind("All Done !!! (Case : No Ifo)\nSince you didnt had any ifo", 0), 0u);
  EXPECT_EQ(outcome.out.find('\r'), std::string::npos);
  EXPECT_NE(outcome.out.find("\n\nGenerated Files:\n" + folder() + "Generated.sup\n" + folder() +
                             "Tesmora_Help_File.txt\n"),
            std::string::npos);
  EXPECT_EQ(outcome.err, "");
}

TEST_F(cliConversion, GivesByteIdenticalFilesOnEveryRun) {
  const QString srt = write("film.srt", kThreeCues);
  ASSERT_EQ(RunConverter({srt}).code, 0);
  const QByteArray first = stream();
  const QByteArray firstHelp = ReadBytes(path(kHelpFileName));
  ASSERT_EQ(RunConverter({srt}).code, 0);
  EXPECT_EQ(stream(), first);
  EXPECT_EQ(ReadBytes(path(kHelpFileName)), firstHelp);
}

TEST_F(cliConversion, WritesIntoTheOutputFolderQuietly) {
  const QString srt = write("film.srt", kThreeCues);
  ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
  const CliOutcome outcome = RunConverter({"--quiet", "--output-dir", path("out/."), srt});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(entries(), QStringList({"film.srt", "out"}));
  EXPECT_EQ(ReadPackets(ReadBytes(path("out/Generated.sup"))).size(), 3u);
  // The help file names the output folder, cleaned.
  EXPECT_TRUE(ReadBytes(path("out/Tesmora_Help_File.txt"))
                  .contains(QByteArray::fromStdString(folder() + "out/Generated.sup\r\n")));
}

TEST_F(cliConversion, PutsTheChosenRolesAndStandardIntoThePackets) {
  const QString srt = write("film.srt", kThreeCues);
  ASSERT_EQ(RunConverter({"--roles", "2,1,3,0", "--standard", "ntsc", srt}).code, 0);
  const auto ntsc = ReadPackets(stream());
  ASSERT_EQ(ntsc.size(), 3u);
  EXPECT_EQ(ntsc[0].colours[0], 0x21);
  EXPECT_EQ(ntsc[0].colours[1], 0x30);
  EXPECT_LT(ntsc[1].lastRow, 480);
  ExpectRingsInOrder(ntsc[1]);

  ASSERT_EQ(RunConverter({"--standard", "pal", srt}).code, 0);
  const auto pal = ReadPackets(stream());
  ASSERT_EQ(pal.size(), 3u);
  EXPECT_GE(pal[1].lastRow, 480);
  EXPECT_LT(pal[1].lastRow, 576);
}

TEST_F(cliConversion, UsesTheIfoPaletteAndItsHelpCase) {
  IfoBuilder ifo;
  ifo.entries.fill(0x00D29210);
  ifo.entries[0] = 0x00108080;
  ifo.entries[1] = 0x00808080;
  ifo.entries[2] = 0x00EB8080;
  ifo.attributeByte = 0x40;  // NTSC
  IfoBuilder::Write(path("VTS_01_0.IFO").toStdString(), ifo.bytes());
  const QString srt = write("film.srt", kThreeCues);

  const CliOutcome withIfo = RunConverter({"--ifo", path("VTS_01_0.IFO"), srt});
  ASSERT_EQ(withIfo.code, 0) << withIfo.err;
  EXPECT_EQ(withIfo.out.rfind("All Done !!! (Case : With Ifo)\n", 0), 0u);
  const auto packets = ReadPackets(stream());
  ASSERT_EQ(packets.size(), 3u);
  EXPECT_EQ(packets[0].colours[0], 0x10);  // Antialias 1, Outline 0
  EXPECT_EQ(packets[0].colours[1], 0x20);  // Text 2, Background 0
  EXPECT_LT(packets[1].lastRow, 480);
  ExpectRingsInOrder(packets[1]);

  ifo.entries[1] = 0x00D29210;  // no middle grey left
  IfoBuilder::Write(path("VTS_01_0.IFO").toStdString(), ifo.bytes());
  const CliOutcome monochrome = RunConverter({"--ifo", path("VTS_01_0.IFO"), srt});
  ASSERT_EQ(monochrome.code, 0) << monochrome.err;
  EXPECT_EQ(monochrome.out.rfind("ATTENTION :\nYour loaded ifo has not a polycromatic", 0), 0u);
  EXPECT_NE(monochrome.out.find("\nAll Done !!! (Case : Monocromatic Ifo)\n"), std::string::npos);
  EXPECT_EQ(ReadPackets(stream()).at(0).colours[1], 0x30);  // the generic roles
}

TEST_F(cliConversion, ReadsMicroDvdFramesAndReportsUnreadTimingLines) {
  const CliOutcome frames =
      RunConverter({"--quiet", write("film.sub", "{1}{1}25.000\r\n{50}{100}One|Two\r\n")});
  ASSERT_EQ(frames.code, 0) << frames.err;
  const auto packets = ReadPackets(stream());
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0].pts, 2000u * 90);

  const CliOutcome loose =
      RunConverter({"--quiet", write("loose.srt",
                                     "1\n00:00:01 --> 00:00:02\nno fraction\n\n"
                                     "2\n00:00:03,000 --> 00:00:04,000\nread\n")});
  ASSERT_EQ(loose.code, 0) << loose.err;
  EXPECT_EQ(loose.err,
            "Some subtitles could not be read: 1 timing line(s) not understood. First at line 2:\n"
            "00:00:01 --> 00:00:02\n");
  EXPECT_EQ(ReadPackets(stream()).size(), 1u);
}

TEST_F(cliConversion, RefusesAnOverlongLineAndKeepsAnEarlierStream) {
  write(kStreamFileName, "earlier stream");
  const QByteArray line(120, 'W');
  const CliOutcome outcome =
      RunConverter({write("film.srt", "1\n00:00:01,000 --> 00:00:02,000\nshort\n" + line + "\n")});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_EQ(outcome.err, "The string \nshort\n" + line.toStdString() +
                             "\nis too long. Please correct the srt and reload it. You can just "
                             "use a smaler font size. Or break long lines with --wrap.\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(stream(), "earlier stream");
  EXPECT_EQ(entries(), QStringList({kStreamFileName, "film.srt"}));
}

// A line without spaces in a script that breaks between its characters,
// such as Japanese, wraps there; without --wrap the refusal names it. With
// --wrap, a word too wide on a line of its own is refused without naming it
// again.
TEST_F(cliConversion, WrapsALongJapaneseLineWithoutSpacesAndNamesWrapWhenRefusing) {
  write(kStreamFileName, "earlier stream");
  QByteArray japanese;
  for (int i = 0; i < 8; ++i) {
    japanese +=
        "\xE5\x90\xBE\xE8\xBC\xA9\xE3\x81\xAF\xE7\x8C\xAB\xE3\x81\xA7\xE3\x81\x82"
        "\xE3\x82\x8B\xE3\x80\x82";  // 吾輩は猫である。
  }
  const QString film = write("film.srt", "1\n00:00:01,000 --> 00:00:02,000\n" + japanese + "\n");
  const CliOutcome refused = RunConverter({"--quiet", film});
  EXPECT_EQ(refused.code, 1);
  const std::string refusal = "The string \n" + japanese.toStdString() +
                              "\n\nis too long. Please correct the srt and reload it. You can "
                              "just use a smaler font size. Or break long lines with --wrap.\n";
  EXPECT_TRUE(refused.err.ends_with(refusal)) << refused.err;
  EXPECT_EQ(stream(), "earlier stream");

  const CliOutcome wrapped = RunConverter({"--quiet", "--wrap", film});
  ASSERT_EQ(wrapped.code, 0) << wrapped.err;
  const std::vector<testing::PacketSummary> packets = ReadPackets(stream());
  ASSERT_EQ(packets.size(), 1u);
  // Taller than one line of it by a line at least.
  const CliOutcome single = RunConverter(
      {"--quiet", write("one.srt", "1\n00:00:01,000 --> 00:00:02,000\n" + japanese.left(24))});
  ASSERT_EQ(single.code, 0) << single.err;
  const std::vector<testing::PacketSummary> one = ReadPackets(stream());
  ASSERT_EQ(one.size(), 1u);
  EXPECT_GT(packets[0].rows.size(), one[0].rows.size() + 20);

  const QByteArray wide(120, 'W');
  const CliOutcome tooWide = RunConverter(
      {"--wrap", write("word.srt", "1\n00:00:01,000 --> 00:00:02,000\nA " + wide + "\n")});
  EXPECT_EQ(tooWide.code, 1);
  EXPECT_EQ(tooWide.err, "The string \nA " + wide.toStdString() +
                             "\n\nis too long. Please correct the srt and reload it. You can "
                             "just use a smaler font size.\n");
}

// A cue whose lines would run past the frame's edge is refused as a line
// too wide is, naming the cue and its lines as drawn; cues that fit alone
// but not stacked together are drawn and named in a note.
TEST_F(cliConversion, RefusesACueTooTallForTheFrameAndNamesCrowdedOnes) {
  const auto tooTall = [](int cue, int lines) {
    return "Cue " + std::to_string(cue) + " has " + std::to_string(lines) +
           " lines, more than the frame holds in this font size and offset: its lines would be "
           "cut off at the frame's edge. Please use a smaller font size or a lower offset.\n";
  };
  write(kStreamFileName, "earlier stream");
  QByteArray thirty = "1\n00:00:01,000 --> 00:00:02,000\nOne\n\n2\n00:00:03,000 --> 00:00:04,000\n";
  for (int i = 1; i <= 30; ++i) {
    thirty += "Line " + QByteArray::number(i) + "\n";
  }
  expectRefusedKeeping(RunConverter({write("thirty.srt", thirty)}), tooTall(2, 30));

  const QString four = write("four.srt", "1\n00:00:01,000 --> 00:00:02,000\nA\nB\nC\nD\n");
  expectRefusedKeeping(RunConverter({"--size", "50", "--offset", "400", four}), tooTall(1, 4));
  const QString one = write("one.srt", "1\n00:00:01,000 --> 00:00:02,000\nHigh\n");
  expectRefusedKeeping(RunConverter({"--size", "50", "--offset", "492", one}),
                       "Cue 1 has 1 line, more than the frame holds in this font size and offset: "
                       "its lines would be cut off at the frame's edge. Please use a smaller font "
                       "size or a lower offset.\n");

  QByteArray words = "1\n00:00:01,000 --> 00:00:02,000\n";
  for (int i = 0; i < 400; ++i) {
    words += "word ";
  }
  // 400 words would need 45 lines: wrapping stops once it passes twice what
  // a frame of the font holds, and says so.
  expectRefusedKeeping(RunConverter({"--wrap", write("words.srt", words + "\n")}),
                       "Cue 1 has more than 36 lines once wrapped, more than the frame holds in "
                       "this font size and offset: its lines would be cut off at the frame's "
                       "edge. Please use a smaller font size or a lower offset.\n");
  words.chop(200 * 5);
  expectRefusedKeeping(RunConverter({"--wrap", write("words.srt", words + "\n")}), tooTall(1, 23));

  // Lower, the same cue fits.
  const CliOutcome lower = RunConverter({"--size", "50", "--offset", "100", four});
  EXPECT_EQ(lower.code, 0) << lower.err;

  QByteArray stacked;
  for (int i = 0; i < 5; ++i) {
    stacked += QByteArray::number(i + 1) + "\n00:00:0" + QByteArray::number(i + 1) +
               ",000 --> 00:00:09,000\nCue " + QByteArray::number(i + 1) + "\nsecond line\n\n";
  }
  const CliOutcome crowded = RunConverter({"--size", "40", write("stacked.srt", stacked)});
  EXPECT_EQ(crowded.code, 0) << crowded.err;
  EXPECT_NE(crowded.err.find("Cues shown at the same time do not all fit in the frame "
                             "together, and their lines beyond its edge are cut off: cues 1 to "
                             "5. Please use a smaller font size or a lower offset.\n"),
            std::string::npos)
      << crowded.err;
  EXPECT_EQ(ReadPackets(stream()).size(), 5u);
}

// A line not understood is shown in the text it was read as: the same
// letter from a UTF-8 file and from a CP1252 one.
TEST_F(cliConversion, ShowsALineNotUnderstoodAsItsTextReads) {
  for (const QByteArray& letter : {QByteArray("\xC3\xA9"), QByteArray("\xE9")}) {
    const CliOutcome unread = RunConverter(
        {"--quiet", write("unread.srt", "1\n00:00:01 " + letter +
                                            " --> 00:00:02\nx\n\n"
                                            "2\n00:00:03,000 --> 00:00:04,000\nread\n")});
    ASSERT_EQ(unread.code, 0) << unread.err;
    EXPECT_EQ(unread.err,
              "Some subtitles could not be read: 1 timing line(s) not understood. First at line "
              "2:\n00:00:01 \xC3\xA9 --> 00:00:02\n");
  }
}

TEST_F(cliConversion, QuotesControlCodesOfTheFileEscaped) {
  const QByteArray title = "\x1b]0;owned\x07";
  const CliOutcome unread = RunConverter(
      {"--quiet", write("unread.srt", "1\n" + title +
                                          " --> \x1b[2J\nx\n\n"
                                          "2\n00:00:03,000 --> 00:00:04,000\nread\n")});
  ASSERT_EQ(unread.code, 0) << unread.err;
  EXPECT_EQ(unread.err,
            "Some subtitles could not be read: 1 timing line(s) not understood. First at line 2:\n"
            "\\x1b]0;owned\\x07 --> \\x1b[2J\n");

  const QByteArray line = title + QByteArray(120, 'W') + "\x1b[2J";
  const CliOutcome overlong =
      RunConverter({write("film.srt", "1\n00:00:01,000 --> 00:00:02,000\n" + line + "\n")});
  EXPECT_EQ(overlong.code, 1);
  EXPECT_EQ(overlong.err, "The string \n\\x1b]0;owned\\x07" + std::string(120, 'W') +
                              "\\x1b[2J\n\nis too long. Please correct the srt and reload it. "
                              "You can just use a smaler font size. Or break long lines with "
                              "--wrap.\n");
}

TEST_F(cliConversion, RefusesInputItCannotReadWithStatus1) {
  const QString missing = path("missing.srt");
  expectRefused(RunConverter({missing}), 1, "Cannot open file " + missing.toStdString() + ".\n");
  expectRefused(RunConverter({write("film.sub", "{50}{100}no rate\r\n")}), 1,
                std::string(kFrameRateMissingMessage) + ", or give the rate with --fps RATE.\n");
  expectRefused(RunConverter({write("bad.sub", "{1}{1}25\n{1}{x2}text\n")}), 1,
                "'x2' is not a valid integer value.\n");
  expectRefused(RunConverter({write("empty.srt", "")}), 1,
                "tesmora-cli: " + path("empty.srt").toStdString() +
                    ": no subtitle found; nothing was written.\n");
  expectRefused(RunConverter({write("film.smi", kThreeCues)}), 1,
                "tesmora-cli: " + path("film.smi").toStdString() +
                    ": not a subtitle file Tesmora reads: it takes SRT files (.srt), MicroDVD "
                    "files (.sub, .txt), WebVTT files (.vtt) and ASS/SSA "
                    "files (.ass, .ssa).\n");
}

TEST_F(cliConversion, RefusesWhatIsNoRegularFileAndFilesOver64MiB) {
  expectRefused(RunConverter({"/dev/zero"}), 1,
                "Cannot open file /dev/zero: it is not a regular file.\n");
  const QString large = write("large.srt", kThreeCues);
  ASSERT_TRUE(QFile::resize(large, 64 * 1024 * 1024 + 1));
  expectRefused(RunConverter({large}), 1,
                "Cannot open file " + large.toStdString() +
                    ": it holds 67108865 bytes, more than the 64 MiB a subtitle file may hold.\n");
}

TEST_F(cliConversion, RefusesASubtitleTooLateForATimeStamp) {
  const CliOutcome outcome =
      RunConverter({write("late.srt", "1\n14:00:00,000 --> 14:00:01,000\nlate\n")});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_NE(outcome.err.find("cannot be written as a time stamp"), std::string::npos)
      << outcome.err;
  EXPECT_EQ(outcome.err.substr(outcome.err.size() - 2), ".\n");
  EXPECT_EQ(entries(), QStringList({"late.srt"}));
}

TEST_F(cliConversion, ExitsWith3WhenTheFilesCannotBeWritten) {
  const QString srt = write("film.srt", kThreeCues);
  const QString underFile = write("plain.txt", "x") + "/out";
  const CliOutcome noFolder = RunConverter({"--output-dir", underFile, srt});
  EXPECT_EQ(noFolder.code, 3);
  EXPECT_EQ(noFolder.err, "tesmora-cli: cannot write into " + underFile.toStdString() +
                              ": there is no folder of that name.\n");

  // A folder in the stream's place: the finished stream cannot replace it.
  ASSERT_TRUE(QDir(dir.path()).mkdir(kStreamFileName));
  const CliOutcome blocked = RunConverter({srt});
  EXPECT_EQ(blocked.code, 3);
  EXPECT_EQ(blocked.err.rfind("tesmora-cli: cannot write " + folder() + "Generated.sup: ", 0), 0u)
      << blocked.err;
  EXPECT_EQ(blocked.out, "");
  EXPECT_EQ(entries(), QStringList({kStreamFileName, "film.srt", "plain.txt"}));
}

TEST_F(cliConversion, AHelpFileThatCannotBeWrittenKeepsTheEarlierStream) {
  write(kStreamFileName, "earlier stream");
  const QString srt = write("film.srt", kThreeCues);
  ASSERT_TRUE(QDir(dir.path()).mkpath(QString(kHelpFileName) + "/inside"));
  const CliOutcome outcome = RunConverter({srt});
  EXPECT_EQ(outcome.code, 3);
  EXPECT_EQ(outcome.err,
            "tesmora-cli: cannot write " + folder() + "Tesmora_Help_File.txt: File is a folder.\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(stream(), "earlier stream");
  EXPECT_EQ(QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            QStringList({kStreamFileName, kHelpFileName, "film.srt"}));
}

TEST_F(cliConversion, ALinkPlantedBesideTheStreamRedirectsNothing) {
  // The name an earlier version wrote the stream under, now a link to a
  // file outside the folder.
  QTemporaryDir elsewhere;
  const QString outside = elsewhere.filePath("precious.txt");
  WriteBytes(outside, "precious");
  ASSERT_TRUE(QFile::link(outside, path("Generated.sup.tesmora-partial")));
  const CliOutcome outcome = RunConverter({"--quiet", write("film.srt", kThreeCues)});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(ReadBytes(outside), "precious");
  EXPECT_FALSE(QFileInfo(path(kStreamFileName)).isSymLink());
  EXPECT_EQ(ReadPackets(stream()).size(), 3u);
}

}  // namespace
}  // namespace tesmora
