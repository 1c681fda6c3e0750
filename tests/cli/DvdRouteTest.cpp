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
#include "tests/cli/ExternalTool.h"

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

bool HasRouteTools() {
  return !QStandardPaths::findExecutable("ffmpeg").isEmpty() &&
         !QStandardPaths::findExecutable("ffprobe").isEmpty() &&
         !QStandardPaths::findExecutable("dvdauthor").isEmpty();
}

// A PAL test picture with a tone, `seconds` long, as clip.mp4 in `dir`.
QString MakeClip(const QTemporaryDir& dir, int seconds) {
  const QString clip = dir.filePath("clip.mp4");
  const ToolResult made = RunTool(QStandardPaths::findExecutable("ffmpeg"),
                                  {"-v",        "error",
                                   "-f",        "lavfi",
                                   "-i",        "testsrc=size=720x576:rate=25",
                                   "-f",        "lavfi",
                                   "-i",        "sine=frequency=440:sample_rate=48000",
                                   "-t",        QString::number(seconds),
                                   "-c:v",      "libx264",
                                   "-preset",   "ultrafast",
                                   "-pix_fmt",  "yuv420p",
                                   "-c:a",      "aac",
                                   "-shortest", clip});
  EXPECT_EQ(made.code, 0) << made.err.toStdString();
  return clip;
}

QString WriteText(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
  const QString path = dir.filePath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
  return path;
}

// Runs examples/author-dvd.sh; its output folder is `out` in `dir`.
ToolResult AuthorDvd(const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TESMORA_CLI", TESMORA_CLI_BINARY);
  return RunTool("bash", QStringList{TESMORA_EXAMPLES_DIR "/author-dvd.sh"} + arguments,
                 environment);
}

const QStringList kPacketQuery = {"-v",  "error",         "-select_streams",
                                  "s",   "-show_entries", "packet=pts_time,size",
                                  "-of", "csv=p=0"};

// The subtitle packets FFmpeg reads from the title's VOB, with their times
// counted from the start of the video.
std::vector<ProbedPacket> PacketsOnDisc(const QString& out) {
  const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
  const QString vob = out + "/dvd/VIDEO_TS/VTS_01_1.VOB";
  const ToolResult onDisc = RunTool(ffprobe, kPacketQuery + QStringList{vob});
  EXPECT_EQ(onDisc.code, 0) << onDisc.err.toStdString();
  const ToolResult start =
      RunTool(ffprobe, {"-v", "error", "-select_streams", "v:0", "-show_entries",
                        "stream=start_time", "-of", "default=nw=1:nk=1", vob});
  EXPECT_EQ(start.code, 0) << start.err.toStdString();
  bool read = false;
  const double videoStart = start.out.trimmed().toDouble(&read);
  EXPECT_TRUE(read) << start.out.toStdString();
  std::vector<ProbedPacket> packets = ParsePackets(onDisc.out);
  for (ProbedPacket& packet : packets) {
    packet.seconds -= videoStart;
  }
  return packets;
}

std::vector<ProbedPacket> PacketsOfPair(const QString& out) {
  const ToolResult pair = RunTool(QStandardPaths::findExecutable("ffprobe"),
                                  kPacketQuery + QStringList{out + "/work/subtitles.idx"});
  EXPECT_EQ(pair.code, 0) << pair.err.toStdString();
  return ParsePackets(pair.out);
}

TEST(cliDvdRoute, AuthorsADiscWithEveryUnitAtItsTimeAndThePaletteInTheIfo) {
  if (!HasRouteTools()) {
    GTEST_SKIP() << "ffmpeg or dvdauthor is not installed";
  }
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString clip = MakeClip(dir, 12);
  const QString srt = WriteText(dir, "film.srt", kSubtitles);
  const QString out = dir.filePath("out");

  // The IFO's palette has colours, so the check covers the colour matrix.
  const ToolResult authored = AuthorDvd(
      {clip, srt, out, "--ifo", TESMORA_EXAMPLES_DIR "/VTS_01_0.IFO", "--language", "de"});
  ASSERT_EQ(authored.code, 0) << authored.out.toStdString() << authored.err.toStdString();
  EXPECT_EQ(authored.err.toStdString(), "");
  EXPECT_EQ(authored.out.toStdString(),
            "DVD folder: " + QDir(out).absolutePath().toStdString() + "/dvd\n");

  // Every unit of the VobSub pair is in the VOB, at its time after the
  // start of the video, within a frame.
  const std::vector<ProbedPacket> units = PacketsOfPair(out);
  ASSERT_EQ(units.size(), 3u);
  EXPECT_DOUBLE_EQ(units[0].seconds, 1.0);
  EXPECT_DOUBLE_EQ(units[1].seconds, 4.5);
  EXPECT_DOUBLE_EQ(units[2].seconds, 8.04);
  const std::vector<ProbedPacket> packets = PacketsOnDisc(out);
  ASSERT_EQ(packets.size(), units.size());
  for (std::size_t n = 0; n < units.size(); ++n) {
    EXPECT_NEAR(packets[n].seconds, units[n].seconds, 0.040) << "unit " << n + 1;
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

// The 20 short cues: 300 to 480 ms long, pairs back to back with 40 ms
// between the pairs, from 1 s on; start and end in ms.
std::vector<std::pair<int, int>> ShortCues() {
  std::vector<std::pair<int, int>> cues;
  int start = 1000;
  for (int n = 0; n < 20; ++n) {
    const int end = start + 300 + n % 10 * 20;
    cues.emplace_back(start, end);
    start = end + (n % 2 == 0 ? 0 : 40);
  }
  return cues;
}

QByteArray SrtTime(int ms) {
  return QString::asprintf("00:00:%02d,%03d", ms / 1000, ms % 1000).toLatin1();
}

// A sign of two lines at the top over the 20 short cues of two lines: large
// subpictures that start 40 to 480 ms apart.
QByteArray SignOverDialogue() {
  const std::vector<std::pair<int, int>> cues = ShortCues();
  QByteArray text = "1\n00:00:00,500 --> " + SrtTime(cues.back().second + 500) +
                    "\n{\\an8}HOTEL DU NORD, RUE DE LA PAIX\nRECEPTION ON THE FIRST FLOOR\n\n";
  for (std::size_t n = 0; n < cues.size(); ++n) {
    text += QByteArray::number(static_cast<int>(n) + 2) + "\n" + SrtTime(cues[n].first) + " --> " +
            SrtTime(cues[n].second) + "\nLine " + QByteArray::number(static_cast<int>(n) + 1) +
            " of the dialogue, spoken fast\nand its second line of text\n\n";
  }
  return text;
}

// On PAL and NTSC: the subpictures follow each other without a gap, each
// starting where the one before is taken off, up to one stop delay unit
// before its cue, and dvdauthor takes them without a warning.
TEST(cliDvdRoute, KeepsTheTimeStampOfEverySubpictureOfASignOverDialogue) {
  if (!HasRouteTools()) {
    GTEST_SKIP() << "ffmpeg or dvdauthor is not installed";
  }
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString clip = MakeClip(dir, 11);
  const QString srt = WriteText(dir, "dense.srt", SignOverDialogue());

  // The sign alone, then the sign with each cue, and the sign alone in each
  // gap between the pairs and after the last cue: 31 subpictures.
  std::vector<double> starts = {0.5};
  const std::vector<std::pair<int, int>> cues = ShortCues();
  for (std::size_t n = 0; n < cues.size(); ++n) {
    starts.push_back(cues[n].first / 1000.0);
    if (n % 2 == 1) {
      starts.push_back(cues[n].second / 1000.0);
    }
  }
  constexpr double kUnitSeconds = 1024 / 90000.0;
  for (const QString standard : {"pal", "ntsc"}) {
    SCOPED_TRACE(standard.toStdString());
    const QString out = dir.filePath("out-" + standard);
    const ToolResult authored = AuthorDvd(standard == "ntsc" ? QStringList{clip, srt, out, "--ntsc"}
                                                             : QStringList{clip, srt, out});
    ASSERT_EQ(authored.code, 0) << authored.out.toStdString() << authored.err.toStdString();
    EXPECT_EQ(authored.err.toStdString(),
              "21 subtitles overlap others; they are drawn together while they overlap (first: "
              "subtitle 1).\n");

    // The index holds whole milliseconds, rounded down.
    const std::vector<ProbedPacket> units = PacketsOfPair(out);
    ASSERT_EQ(units.size(), starts.size());
    for (std::size_t n = 0; n < units.size(); ++n) {
      EXPECT_LE(units[n].seconds, starts[n] + 0.0005) << "unit " << n + 1;
      EXPECT_GT(units[n].seconds, starts[n] - kUnitSeconds - 0.001) << "unit " << n + 1;
    }
    // FFmpeg reads every one of them from the VOB, each at its time.
    const std::vector<ProbedPacket> packets = PacketsOnDisc(out);
    ASSERT_EQ(packets.size(), units.size());
    for (std::size_t n = 0; n < units.size(); ++n) {
      EXPECT_NEAR(packets[n].seconds, units[n].seconds, 0.0015) << "unit " << n + 1;
      EXPECT_EQ(packets[n].size, units[n].size) << "unit " << n + 1;
    }
  }
}

TEST(cliDvdRoute, MarksTheSubtitleStreamForcedWithForced) {
  if (!HasRouteTools() || QStandardPaths::findExecutable("lsdvd").isEmpty()) {
    GTEST_SKIP() << "ffmpeg, dvdauthor or lsdvd is not installed";
  }
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString clip = MakeClip(dir, 3);
  const QString srt = WriteText(dir, "sign.srt", "1\n00:00:01,000 --> 00:00:02,000\nEXIT\n");
  const QString out = dir.filePath("out");
  const ToolResult authored = AuthorDvd({clip, srt, out, "--forced", "--language", "fr"});
  ASSERT_EQ(authored.code, 0) << authored.out.toStdString() << authored.err.toStdString();
  const ToolResult listed = RunTool(QStandardPaths::findExecutable("lsdvd"), {"-s", out + "/dvd"});
  ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
  EXPECT_TRUE(listed.out.contains("Language: fr - Francais, Content: Forced"))
      << listed.out.toStdString();
  EXPECT_EQ(PacketsOnDisc(out).size(), 1u);
}

TEST(tesmoraMux, RefusesAnInputThatIsNoProgramStreamAndWritesNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString video = WriteText(dir, "video.mpg", QByteArray(4096, 'x'));
  const QString sub = WriteText(dir, "subtitles.sub", QByteArray());
  const QString out = dir.filePath("title.mpg");
  const ToolResult refused = RunTool(TESMORA_MUX_BINARY, {video, sub, out});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err.toStdString(), "tesmora-mux: " + video.toStdString() +
                                           ": not a DVD program stream: no pack start code at "
                                           "byte 0\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

  const ToolResult missing = RunTool(TESMORA_MUX_BINARY, {dir.filePath("none.mpg"), sub, out});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err.toStdString(),
            "tesmora-mux: " + dir.filePath("none.mpg").toStdString() + ": File not found\n");

  const ToolResult usage = RunTool(TESMORA_MUX_BINARY, {video});
  EXPECT_EQ(usage.code, 2);
  EXPECT_EQ(usage.err.toStdString(), "Usage: tesmora-mux VIDEO.mpg SUBTITLES.sub OUTPUT.mpg\n");
}

}  // namespace
}  // namespace tesmora
