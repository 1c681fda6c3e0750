// The route from a video and a subtitle file to a DVD folder with free
// tools (examples/author-dvd.sh), checked on the authored disc: every
// subtitle unit in the VOB at its time, and the palette in the IFO.
// Skipped where ffmpeg or dvdauthor is not installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>

#include "palette/IfoReader.h"
#include "tests/tools/ExternalTool.h"

namespace tesmora {
namespace {

using testing::RunTool;
using testing::ToolResult;

// One subtitle packet as ffprobe lists it: its time in seconds and size.
struct ProbedPacket {
  double seconds = 0;
  int size = 0;
};

std::vector<ProbedPacket> ParsePackets(const QByteArray& csv) {
  std::vector<ProbedPacket> packets;
  for (const QByteArray& line : csv.split('\n')) {
    const QList<QByteArray> fields = line.trimmed().split(',');
    if (fields.size() >= 2 && !fields[0].isEmpty()) {
      packets.push_back({fields[0].toDouble(), fields[1].toInt()});
    }
  }
  return packets;
}

// The YCrCb bytes a player is given for an RGB colour: the studio-range
// ITU-R BT.601 matrix, as DVD authoring tools convert palette files.
std::array<int, 3> StudioYCrCb(int r, int g, int b) {
  return {static_cast<int>(std::lround(0.257 * r + 0.504 * g + 0.098 * b + 16)),
          static_cast<int>(std::lround(0.439 * r - 0.368 * g - 0.071 * b + 128)),
          static_cast<int>(std::lround(-0.148 * r - 0.291 * g + 0.439 * b + 128))};
}

const char* const kSubtitles =
    "1\n00:00:01,000 --> 00:00:03,000\nFirst line\n\n"
    "2\n00:00:04,500 --> 00:00:06,000\nSecond\nand more\n\n"
    "3\n00:00:08,040 --> 00:00:10,000\nThird\n";

TEST(cliDvdRoute, AuthorsADiscWithEveryUnitAtItsTimeAndThePaletteInTheIfo) {
  const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
  const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
  if (ffmpeg.isEmpty() || ffprobe.isEmpty() ||
      QStandardPaths::findExecutable("dvdauthor").isEmpty()) {
    GTEST_SKIP() << "ffmpeg or dvdauthor is not installed";
  }
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString clip = dir.filePath("clip.mp4");
  const ToolResult made = RunTool(ffmpeg, {"-v",        "error",
                                           "-f",        "lavfi",
                                           "-i",        "testsrc=size=720x576:rate=25",
                                           "-f",        "lavfi",
                                           "-i",        "sine=frequency=440:sample_rate=48000",
                                           "-t",        "12",
                                           "-c:v",      "libx264",
                                           "-preset",   "ultrafast",
                                           "-pix_fmt",  "yuv420p",
                                           "-c:a",      "aac",
                                           "-shortest", clip});
  ASSERT_EQ(made.code, 0) << made.err.toStdString();
  const QString srt = dir.filePath("film.srt");
  QFile file(srt);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(kSubtitles);
  file.close();

  // The IFO's palette has colours, so the check covers the colour matrix.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TESMORA_CLI", TESMORA_CLI_BINARY);
  const QString out = dir.filePath("out");
  const ToolResult authored =
      RunTool("bash",
              {TESMORA_EXAMPLES_DIR "/author-dvd.sh", clip, srt, out, "--ifo",
               TESMORA_EXAMPLES_DIR "/VTS_01_0.IFO", "--language", "de"},
              environment);
  ASSERT_EQ(authored.code, 0) << authored.out.toStdString() << authored.err.toStdString();
  EXPECT_EQ(authored.err.toStdString(), "");
  EXPECT_EQ(authored.out.toStdString(),
            "DVD folder: " + QDir(out).absolutePath().toStdString() + "/dvd\n");

  // Every unit of the VobSub pair is in the VOB, at its time after the
  // start of the video, within a frame.
  const QStringList packetQuery = {"-v",  "error",         "-select_streams",
                                   "s",   "-show_entries", "packet=pts_time,size",
                                   "-of", "csv=p=0"};
  const ToolResult pair = RunTool(ffprobe, packetQuery + QStringList{out + "/work/subtitles.idx"});
  ASSERT_EQ(pair.code, 0) << pair.err.toStdString();
  const std::vector<ProbedPacket> units = ParsePackets(pair.out);
  ASSERT_EQ(units.size(), 3u);
  EXPECT_DOUBLE_EQ(units[0].seconds, 1.0);
  EXPECT_DOUBLE_EQ(units[1].seconds, 4.5);
  EXPECT_DOUBLE_EQ(units[2].seconds, 8.04);

  const QString vob = out + "/dvd/VIDEO_TS/VTS_01_1.VOB";
  const ToolResult onDisc = RunTool(ffprobe, packetQuery + QStringList{vob});
  ASSERT_EQ(onDisc.code, 0) << onDisc.err.toStdString();
  const ToolResult start =
      RunTool(ffprobe, {"-v", "error", "-select_streams", "v:0", "-show_entries",
                        "stream=start_time", "-of", "default=nw=1:nk=1", vob});
  ASSERT_EQ(start.code, 0) << start.err.toStdString();
  bool read = false;
  const double videoStart = start.out.trimmed().toDouble(&read);
  ASSERT_TRUE(read) << start.out.toStdString();
  const std::vector<ProbedPacket> packets = ParsePackets(onDisc.out);
  ASSERT_EQ(packets.size(), units.size()) << onDisc.out.toStdString();
  for (std::size_t n = 0; n < units.size(); ++n) {
    EXPECT_NEAR(packets[n].seconds - videoStart, units[n].seconds, 0.040) << "unit " << n + 1;
    EXPECT_EQ(packets[n].size, units[n].size) << "unit " << n + 1;
  }

  // The title's program chain holds the palette file's colours as YCrCb.
  QFile palette(out + "/work/subtitles.rgb");
  ASSERT_TRUE(palette.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = palette.readAll().trimmed().split('\n');
  ASSERT_EQ(lines.size(), 16);
  const IfoPaletteData ifo =
      ReadIfoPalette(QFile::encodeName(out + "/dvd/VIDEO_TS/VTS_01_0.IFO").toStdString());
  EXPECT_TRUE(ifo.isPal());
  for (std::size_t n = 0; n < 16; ++n) {
    const int rgb = lines[static_cast<qsizetype>(n)].toInt(nullptr, 16);
    const auto [y, cr, cb] = StudioYCrCb(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF);
    const std::uint32_t entry = ifo.entries[n];
    EXPECT_NEAR(static_cast<int>(entry >> 16 & 0xFF), y, 1) << "entry " << n;
    EXPECT_NEAR(static_cast<int>(entry >> 8 & 0xFF), cr, 1) << "entry " << n;
    EXPECT_NEAR(static_cast<int>(entry & 0xFF), cb, 1) << "entry " << n;
  }
}

}  // namespace
}  // namespace tesmora
