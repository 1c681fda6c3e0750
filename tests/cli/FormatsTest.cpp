// Whole runs of the converter into the VobSub pair and the dvdauthor
// palette, with forced subtitles, chosen names and several files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include "output/HelpFile.h"
#include "output/VobSubIndex.h"
#include "output/VobSubPacks.h"
#include "tests/cli/CliHarness.h"
#include "tests/cli/SupStream.h"
#include "tests/files/ImmutableFile.h"
#include "tests/palette/IfoBuilder.h"

namespace tesmora {
namespace {

using testing::CliOutcome;
using testing::ReadBytes;
using testing::ReadPackets;
using testing::RunConverter;
using testing::WriteBytes;

const QByteArray kTwoCues =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello harbour.\r\n\r\n"
    "2\r\n00:01:03,040 --> 00:01:05,000\r\nTwo lines\r\nat once.\r\n";

// The units of a stream with the PTS of their "SP" headers.
std::vector<VobSubUnit> StreamUnits(const QByteArray& stream) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.constData());
  std::vector<VobSubUnit> units;
  for (qsizetype at = 0; at + 12 <= stream.size();) {
    const auto pts =
        static_cast<std::uint32_t>(bytes[at + 2] | bytes[at + 3] << 8 | bytes[at + 4] << 16) |
        static_cast<std::uint32_t>(bytes[at + 5]) << 24;
    const std::size_t size = static_cast<std::size_t>(bytes[at + 10] << 8 | bytes[at + 11]);
    units.push_back({pts, {bytes + at + 10, size}});
    at += 10 + static_cast<qsizetype>(size);
  }
  return units;
}

// The first command of each unit's first control sequence.
std::vector<int> StartCommands(const QByteArray& stream) {
  std::vector<int> commands;
  for (const VobSubUnit& unit : StreamUnits(stream)) {
    commands.push_back(
        unit.bytes[static_cast<std::size_t>(unit.bytes[2] << 8 | unit.bytes[3]) + 4]);
  }
  return commands;
}

const char* const kGenericRgb =
    "000000\n555555\naaaaaa\nffffff\n000000\n000000\n000000\n000000\n"
    "000000\n000000\n000000\n000000\n000000\n000000\n000000\n000000\n";

class cliFormats : public testing::ConverterFolderTest {
 protected:
  std::string help() const { return ReadBytes(path(kHelpFileName)).toStdString(); }
  // The help file's "Generated Files:" part.
  std::string listing() const {
    const std::string text = help();
    return text.substr(text.find("Generated Files:\r\n") + 18);
  }
};

TEST_F(cliFormats, WritesEveryFormatFromTheSameUnits) {
  const QString srt = write("film.srt", kTwoCues);
  ASSERT_EQ(RunConverter({"--quiet", srt}).code, 0);
  const QByteArray plain = ReadBytes(path("Generated.sup"));

  const CliOutcome outcome =
      RunConverter({"--format", "all", "--name", "harbour", "--language", "DE", srt});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(entries(), QStringList({"Generated.sup", "Tesmora_Help_File.txt", "film.srt",
                                    "harbour.idx", "harbour.rgb", "harbour.sub", "harbour.sup"}));
  const QByteArray stream = ReadBytes(path("harbour.sup"));
  EXPECT_EQ(stream, plain);

  const std::vector<VobSubUnit> units = StreamUnits(stream);
  ASSERT_EQ(units.size(), 2u);
  const VobSubPacks packs = BuildVobSubPacks(units);
  EXPECT_TRUE(ReadBytes(path("harbour.sub")) ==
              QByteArray(reinterpret_cast<const char*>(packs.bytes.data()),
                         static_cast<qsizetype>(packs.bytes.size())));
  const std::string index = ReadBytes(path("harbour.idx")).toStdString();
  EXPECT_NE(index.find("\nsize: 720x576\n"), std::string::npos);
  EXPECT_NE(index.find("\nforced subs: OFF\n"), std::string::npos);
  EXPECT_NE(index.find("\npalette: 000000, 555555, aaaaaa, ffffff, 000000, "), std::string::npos);
  ASSERT_EQ(packs.unitPositions, (std::vector<std::uint64_t>{0, 2048}));
  EXPECT_EQ(index.substr(index.find("\nid: ")),
            "\nid: de, index: 0\n"
            "timestamp: 00:00:01:000, filepos: 000000000\n"
            "timestamp: 00:01:03:040, filepos: 000000800\n");
  EXPECT_EQ(ReadBytes(path("harbour.rgb")).toStdString(), kGenericRgb);

  const std::string f = folder();
  EXPECT_EQ(listing(), f + "harbour.sup\r\n" + f + "harbour.idx\r\n" + f + "harbour.sub\r\n" + f +
                           "harbour.rgb\r\n" + f + "Tesmora_Help_File.txt\r\n");
  EXPECT_NE(
      outcome.out.find("\n\nGenerated Files:\n" + f + "harbour.sup\n" + f + "harbour.idx\n" + f +
                       "harbour.sub\n" + f + "harbour.rgb\n" + f + "Tesmora_Help_File.txt\n"),
      std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("\"Making a DVD with free tools\""), std::string::npos);
}

TEST_F(cliFormats, WritesOnlyTheChosenFormats) {
  const QString srt = write("film.srt", kTwoCues);
  ASSERT_EQ(RunConverter({"--quiet", "--format", "vobsub", srt}).code, 0);
  EXPECT_EQ(entries(),
            QStringList({"Generated.idx", "Generated.sub", "Tesmora_Help_File.txt", "film.srt"}));
  ASSERT_EQ(RunConverter({"--quiet", "--format", "rgb", "--name", "colours", srt}).code, 0);
  EXPECT_EQ(ReadBytes(path("colours.rgb")).toStdString(), kGenericRgb);
  EXPECT_EQ(listing(), folder() + "colours.rgb\r\n" + folder() + "Tesmora_Help_File.txt\r\n");
  EXPECT_FALSE(entries().contains("colours.sup"));
}

TEST_F(cliFormats, ForcedMarksEveryUnitAndTheIndex) {
  const QString srt = write("film.srt", kTwoCues);
  ASSERT_EQ(RunConverter({"--quiet", srt}).code, 0);
  const QByteArray plain = ReadBytes(path("Generated.sup"));
  EXPECT_EQ(StartCommands(plain), (std::vector<int>{0x01, 0x01}));

  ASSERT_EQ(RunConverter({"--quiet", "--forced", "--format", "sup,vobsub", srt}).code, 0);
  const QByteArray forced = ReadBytes(path("Generated.sup"));
  EXPECT_EQ(StartCommands(forced), (std::vector<int>{0x00, 0x00}));
  // Only that command differs.
  ASSERT_EQ(forced.size(), plain.size());
  qsizetype differences = 0;
  for (qsizetype n = 0; n < plain.size(); ++n) {
    differences += plain[n] != forced[n];
  }
  EXPECT_EQ(differences, 2);
  EXPECT_NE(ReadBytes(path("Generated.idx")).indexOf("\nforced subs: ON\n"), -1);
  EXPECT_NE(ReadBytes(path("Generated.sub")).indexOf(forced.mid(10, 40)), -1);
}

TEST_F(cliFormats, PaletteFilesHoldTheColoursAPlayerShows) {
  testing::IfoBuilder ifo;
  ifo.entries.fill(0x00108080);
  ifo.entries[1] = 0x00808080;
  ifo.entries[2] = 0x00EB8080;
  ifo.entries[5] = 0x001080F0;  // outside the RGB cube: G is -23
  testing::IfoBuilder::Write(path("VTS_01_0.IFO").toStdString(), ifo.bytes());
  const QString srt = write("film.srt", kTwoCues);
  const CliOutcome outcome =
      RunConverter({"--quiet", "--ifo", path("VTS_01_0.IFO"), "--format", "all", srt});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(ReadBytes(path("Generated.rgb")).toStdString(),
            "101010\n808080\nebebeb\n101010\n101010\n1000d6\n101010\n101010\n"
            "101010\n101010\n101010\n101010\n101010\n101010\n101010\n101010\n");
  EXPECT_NE(ReadBytes(path("Generated.idx"))
                .indexOf("\npalette: 101010, 808080, ebebeb, 101010, 101010, 1000d6, 101010"),
            -1);
}

TEST_F(cliFormats, ConvertsSeveralFilesEachUnderItsOwnName) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
  const QString a = write("a.srt", kTwoCues);
  const QString b = write("ep.02.srt", kTwoCues.left(kTwoCues.indexOf("2\r\n")));
  const CliOutcome outcome = RunConverter({"--format", "sup,rgb", a, b});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(entries(), QStringList({"Tesmora_Help_File.txt", "a.rgb", "a.srt", "a.sup", "ep.02.rgb",
                                    "ep.02.srt", "ep.02.sup", "out"}));
  EXPECT_EQ(ReadPackets(ReadBytes(path("a.sup"))).size(), 2u);
  EXPECT_EQ(ReadPackets(ReadBytes(path("ep.02.sup"))).size(), 1u);
  const std::string f = folder();
  const std::string files = f + "a.sup\n" + f + "a.rgb\n" + f + "ep.02.sup\n" + f + "ep.02.rgb\n" +
                            f + "Tesmora_Help_File.txt\n";
  EXPECT_EQ(listing(), QString::fromStdString(files).replace("\n", "\r\n").toStdString());
  // One closing message for the whole call.
  EXPECT_EQ(outcome.out.find("All Done"), outcome.out.rfind("All Done"));
  EXPECT_EQ(outcome.out.substr(outcome.out.find("\n\nGenerated Files:\n") + 19), files);
}

TEST_F(cliFormats, SeveralFilesExitWithTheWorstStatusAndNameEachFailure) {
  const QString good = write("good.srt", kTwoCues);
  const QString empty = write("empty.srt", "");
  const QString bad = write("bad.srt", "1\n-1:00:01,000 --> 00:00:02,000\ntext\n");
  const QString loose = write("loose.srt",
                              "1\n00:00:01 --> 00:00:02\nno fraction\n\n"
                              "2\n00:00:03,000 --> 00:00:04,000\nread\n");
  const CliOutcome refused = RunConverter({"--quiet", good, empty, bad, loose});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err, "tesmora-cli: " + empty.toStdString() +
                             ": no subtitle found; nothing was written.\n"
                             "tesmora-cli: " +
                             bad.toStdString() +
                             ": The subtitle at line 2 starts before the beginning of the video "
                             "(-1:00:01,000 --> 00:00:02,000); a subpicture cannot start before "
                             "0. Please correct the file and load it again.\n"
                             "tesmora-cli: " +
                             loose.toStdString() +
                             ": Some subtitles could not be read: 1 timing line(s) not "
                             "understood. First at line 2:\n00:00:01 --> 00:00:02\n");
  EXPECT_TRUE(entries().contains("good.sup"));
  EXPECT_TRUE(entries().contains("loose.sup"));
  EXPECT_FALSE(entries().contains("bad.sup"));
  EXPECT_EQ(listing(), folder() + "good.sup\r\n" + folder() + "loose.sup\r\n" + folder() +
                           kHelpFileName + "\r\n");

  // A file that cannot be written outranks a refused input.
  ASSERT_TRUE(QDir(dir.path()).remove("good.sup"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("good.sup"));
  ASSERT_TRUE(QDir(dir.path()).remove("loose.sup"));
  const CliOutcome blocked = RunConverter({"--quiet", empty, good, loose});
  EXPECT_EQ(blocked.code, 3);
  EXPECT_NE(blocked.err.find("tesmora-cli: " + good.toStdString() + ": cannot write " + folder() +
                             "good.sup: File is a folder.\n"),
            std::string::npos)
      << blocked.err;
  EXPECT_TRUE(entries().contains("loose.sup"));
}

bool SetImmutable(const QString& path, bool on) {
  return testing::SetImmutable(QFile::encodeName(path).constData(), on);
}

TEST_F(cliFormats, AnOutputThatCannotBeReplacedLeavesEveryFileOfTheSet) {
  const QString srt = write("film.srt", kTwoCues);
  ASSERT_EQ(RunConverter({"--quiet", "--format", "all", srt}).code, 0);
  const QStringList names{"Generated.sup", "Generated.idx", "Generated.sub", "Generated.rgb",
                          kHelpFileName};
  QByteArrayList before;
  for (const QString& name : names) {
    before << ReadBytes(path(name));
  }
  if (!SetImmutable(path("Generated.sub"), true)) {
    GTEST_SKIP() << "no immutable files here";
  }
  const CliOutcome outcome =
      RunConverter({"--quiet", "--format", "all", "--standard", "ntsc", srt});
  ASSERT_TRUE(SetImmutable(path("Generated.sub"), false));
  EXPECT_EQ(outcome.code, 3);
  EXPECT_EQ(outcome.err,
            "tesmora-cli: cannot write " + folder() + "Generated.sub: File access denied.\n");
  for (qsizetype i = 0; i < names.size(); ++i) {
    EXPECT_EQ(ReadBytes(path(names[i])), before[i]) << names[i].toStdString();
  }
  EXPECT_EQ(QDir(dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            QStringList({"Generated.idx", "Generated.rgb", "Generated.sub", "Generated.sup",
                         "Tesmora_Help_File.txt", "film.srt"}));
}

}  // namespace
}  // namespace tesmora
