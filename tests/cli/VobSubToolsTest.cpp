// The VobSub pair and its reading by the free tools that take it: FFmpeg and
// MKVToolNix. Skipped where they are not installed.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

#include "output/VobSubIndex.h"
#include "output/VobSubPacks.h"
#include "palette/Palette.h"
#include "sup/SubtitlePacket.h"
#include "tests/cli/CliHarness.h"
#include "tests/cli/ExternalTool.h"
#include "tests/cli/SupStream.h"
#include "tests/sup/MillisecondPackets.h"

namespace tesmora {
namespace {

using testing::RunTool;
using testing::ToolResult;

// A subpicture unit of a SUP stream and the PTS of its "SP" header.
struct StreamUnit {
  std::uint32_t pts = 0;
  QByteArray bytes;
};

std::vector<StreamUnit> SplitStream(const QByteArray& stream) {
  const auto byte = [&stream](qsizetype at) { return static_cast<std::uint8_t>(stream[at]); };
  std::vector<StreamUnit> units;
  for (qsizetype at = 0; at + 12 <= stream.size();) {
    StreamUnit unit;
    unit.pts = static_cast<std::uint32_t>(byte(at + 2) | byte(at + 3) << 8 | byte(at + 4) << 16 |
                                          static_cast<std::uint32_t>(byte(at + 5)) << 24);
    const qsizetype size = byte(at + 10) << 8 | byte(at + 11);
    unit.bytes = stream.mid(at + 10, size);
    units.push_back(unit);
    at += 10 + size;
  }
  return units;
}

std::span<const std::uint8_t> Bytes(const QByteArray& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
          static_cast<std::size_t>(bytes.size())};
}

QByteArray ToQByteArray(const std::vector<std::uint8_t>& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

RgbPalette PaletteColours(const Palette& palette) {
  RgbPalette colours{};
  for (std::size_t n = 0; n < palette.size(); ++n) {
    colours[n] = palette[n].rgb;
  }
  return colours;
}

class VobSubTools : public ::testing::Test {
 protected:
  void SetUp() override {
    ffprobe_ = QStandardPaths::findExecutable("ffprobe");
    ffmpeg_ = QStandardPaths::findExecutable("ffmpeg");
    mkvmerge_ = QStandardPaths::findExecutable("mkvmerge");
    if (ffprobe_.isEmpty() || ffmpeg_.isEmpty() || mkvmerge_.isEmpty()) {
      GTEST_SKIP() << "ffprobe, ffmpeg or mkvmerge is not installed";
    }
    ASSERT_TRUE(dir_.isValid());
    const auto outcome = testing::RunConverter(
        {"--quiet", "--output-dir", dir_.path(), TESMORA_EXAMPLES_DIR "/harbour.srt"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    stream_ = testing::ReadBytes(dir_.filePath("Generated.sup"));
    units_ = SplitStream(stream_);
    ASSERT_EQ(units_.size(), 6u);
  }

  // Writes NAME.idx and NAME.sub of the units (the example's by default);
  // returns the .idx path.
  QString WritePair(const QString& name, bool forced) { return WritePair(name, forced, units_); }
  QString WritePair(const QString& name, bool forced, const std::vector<StreamUnit>& source) {
    std::vector<VobSubUnit> units;
    for (const StreamUnit& unit : source) {
      units.push_back({unit.pts, Bytes(unit.bytes)});
    }
    const VobSubPacks packs = BuildVobSubPacks(units);
    std::vector<VobSubIndexEntry> entries;
    for (std::size_t n = 0; n < units.size(); ++n) {
      entries.push_back({units[n].pts, packs.unitPositions[n]});
    }
    const std::string index =
        VobSubIndexText({576, PaletteColours(GenericPalette()), "en", forced}, entries);
    testing::WriteBytes(dir_.filePath(name + ".sub"), ToQByteArray(packs.bytes));
    testing::WriteBytes(dir_.filePath(name + ".idx"), QByteArray::fromStdString(index));
    return dir_.filePath(name + ".idx");
  }

  QTemporaryDir dir_;
  QByteArray stream_;
  QString ffprobe_;
  QString ffmpeg_;
  QString mkvmerge_;
  std::vector<StreamUnit> units_;
};

TEST_F(VobSubTools, FfprobeListsEveryUnitAtItsTime) {
  const QString idx = WritePair("a", false);
  const ToolResult probe =
      RunTool(ffprobe_, {"-v", "warning", "-show_entries", "stream=codec_name,width,height",
                         "-show_entries", "packet=pts,size", "-of", "csv=p=0", idx});
  ASSERT_EQ(probe.code, 0) << probe.err.toStdString();
  EXPECT_EQ(probe.err.toStdString(), "");
  std::string expected;
  for (const StreamUnit& unit : units_) {
    // The index's times are whole milliseconds, FFmpeg's time base for it.
    expected += std::to_string(unit.pts / 90) + ',' + std::to_string(unit.bytes.size()) + '\n';
  }
  expected += "dvd_subtitle,720,576\n";
  EXPECT_EQ(probe.out.toStdString(), expected);
}

TEST_F(VobSubTools, FfmpegReadsBackTheUnitsByteForByte) {
  const QString idx = WritePair("a", false);
  const QString data = dir_.filePath("units.bin");
  const ToolResult copy = RunTool(
      ffmpeg_, {"-v", "warning", "-i", idx, "-map", "0:s", "-c", "copy", "-f", "data", data});
  ASSERT_EQ(copy.code, 0) << copy.err.toStdString();
  EXPECT_EQ(copy.err.toStdString(), "");
  QByteArray expected;
  for (const StreamUnit& unit : units_) {
    expected += unit.bytes;
  }
  EXPECT_EQ(testing::ReadBytes(data).toHex().toStdString(), expected.toHex().toStdString());
}

// The frame a player shows while `packet` is on screen: the unit's pixel
// codes through its colour command into the palette, code 0 transparent
// over black, as 720 x 576 RGB bytes.
QByteArray ExpectedFrame(const testing::PacketSummary& packet, const RgbPalette& palette) {
  QByteArray frame(720 * 576 * 3, '\0');
  const int entries[4] = {packet.colours[1] & 0x0F, packet.colours[1] >> 4,
                          packet.colours[0] & 0x0F, packet.colours[0] >> 4};
  const std::size_t topRows = (packet.rows.size() + 1) / 2;
  for (std::size_t k = 0; k < packet.rows.size(); ++k) {
    // Rows of the band alternate between the top and the bottom field.
    const auto& row = packet.rows[k % 2 == 0 ? k / 2 : topRows + k / 2];
    const qsizetype rowStart = (packet.firstRow + static_cast<qsizetype>(k)) * 720 * 3;
    for (qsizetype x = 0; x < 720; ++x) {
      const std::uint8_t code = row[static_cast<std::size_t>(x)];
      const Rgb colour = code == 0 ? Rgb{} : palette[static_cast<std::size_t>(entries[code])];
      frame[rowStart + x * 3] = static_cast<char>(colour.r);
      frame[rowStart + x * 3 + 1] = static_cast<char>(colour.g);
      frame[rowStart + x * 3 + 2] = static_cast<char>(colour.b);
    }
  }
  return frame;
}

TEST_F(VobSubTools, FfmpegDecodesThePicturesOfTheStream) {
  const QString idx = WritePair("a", false);
  const std::vector<testing::PacketSummary> packets = testing::ReadPackets(stream_);
  ASSERT_EQ(packets.size(), units_.size());
  // Half a second into each subtitle, on a 10 frames/s black canvas.
  QStringList frames;
  for (const StreamUnit& unit : units_) {
    frames << QStringLiteral("eq(n,%1)").arg(unit.pts / 9000 + 5);
  }
  const QString raw = dir_.filePath("frames.rgb");
  const ToolResult render = RunTool(
      ffmpeg_, {"-v", "warning", "-f", "lavfi", "-i",
                "color=c=black:s=720x576:r=10:d=21,format=rgba", "-i", idx, "-filter_complex",
                "[0:v][1:s]overlay=format=rgb,format=rgb24,select='" + frames.join('+') + "'",
                "-fps_mode", "passthrough", "-f", "rawvideo", raw});
  ASSERT_EQ(render.code, 0) << render.err.toStdString();
  const QByteArray pictures = testing::ReadBytes(raw);
  constexpr qsizetype kFrameBytes = 720 * 576 * 3;
  ASSERT_EQ(pictures.size(), kFrameBytes * static_cast<qsizetype>(units_.size()));
  const RgbPalette palette = PaletteColours(GenericPalette());
  for (std::size_t n = 0; n < packets.size(); ++n) {
    const QByteArray expected = ExpectedFrame(packets[n], palette);
    ASSERT_NE(expected.count('\0'), expected.size()) << "subtitle " << n + 1;
    EXPECT_TRUE(pictures.mid(static_cast<qsizetype>(n) * kFrameBytes, kFrameBytes) == expected)
        << "subtitle " << n + 1;
  }
}

TEST_F(VobSubTools, FfmpegShowsOnlyForcedUnitsWhenAskedTo) {
  // A white box drawn on rows 500 to 519, encoded as a normal and as a forced unit.
  constexpr RoleKeyColours kKeys{{255, 255, 255}, {0, 0, 0}, {128, 128, 128}};
  FrameBitmap frame(576);
  for (int y = 500; y < 520; ++y) {
    for (int x = 100; x < 300; ++x) {
      frame.setPixel(x, y, kKeys.text);
    }
  }
  std::vector<StreamUnit> plain;
  std::vector<StreamUnit> forced;
  for (const StartDisplay start : {StartDisplay::Normal, StartDisplay::Forced}) {
    const SupPacket packet =
        EncodeSubtitlePacket(frame, {500, 20}, kKeys, {1, 0, 3, 0}, 1, 2000, 3000, start);
    (start == StartDisplay::Forced ? forced : plain)
        .push_back({180000, QByteArray(reinterpret_cast<const char*>(packet.unit.data()),
                                       static_cast<qsizetype>(packet.unit.size()))});
  }
  for (const bool useForced : {false, true}) {
    const QString idx =
        WritePair(useForced ? "forced" : "plain", useForced, useForced ? forced : plain);
    const QString raw = dir_.filePath("frames.rgb");
    const ToolResult render =
        RunTool(ffmpeg_, {"-v", "warning", "-f", "lavfi", "-i",
                          "color=c=black:s=720x576:r=1:d=4,format=rgba", "-forced_subs_only", "1",
                          "-i", idx, "-filter_complex", "[0:v][1:s]overlay=format=rgb,format=rgb24",
                          "-y", "-f", "rawvideo", raw});
    ASSERT_EQ(render.code, 0) << render.err.toStdString();
    const QByteArray pictures = testing::ReadBytes(raw);
    EXPECT_EQ(pictures.count('\0') != pictures.size(), useForced);
  }
}

TEST_F(VobSubTools, MkvmergeMuxesThePairWithoutAWarningAndMarksAForcedTrackWhenTold) {
  // mkvmerge reads no forced flag from the .idx: a forced track needs
  // --forced-display-flag, as the README says.
  for (const bool forced : {false, true}) {
    const QString name = forced ? "forced" : "plain";
    const QString idx = WritePair(name, forced);
    const QString mkv = dir_.filePath(name + ".mkv");
    QStringList arguments = {"-o", mkv};
    if (forced) {
      arguments << "--forced-display-flag"
                << "0:yes";
    }
    const ToolResult mux = RunTool(mkvmerge_, arguments << idx);
    EXPECT_EQ(mux.code, 0) << mux.out.toStdString() << mux.err.toStdString();
    EXPECT_FALSE(mux.out.contains("Warning")) << mux.out.toStdString();
    EXPECT_EQ(mux.err.toStdString(), "");
    const ToolResult probe =
        RunTool(ffprobe_, {"-v", "error", "-select_streams", "s", "-show_entries",
                           "stream_disposition=forced", "-of", "csv=p=0", mkv});
    ASSERT_EQ(probe.code, 0) << probe.err.toStdString();
    EXPECT_EQ(probe.out.toStdString(), forced ? "1\n" : "0\n");
  }
}

TEST_F(VobSubTools, MkvmergeTakesEveryUnitOfAConverterRun) {
  const auto outcome =
      testing::RunConverter({"--quiet", "--format", "vobsub", "--forced", "--language", "fr",
                             "--output-dir", dir_.path(), TESMORA_EXAMPLES_DIR "/harbour.srt"});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const QString mkv = dir_.filePath("run.mkv");
  const ToolResult mux = RunTool(
      mkvmerge_, {"-o", mkv, "--forced-display-flag", "0:yes", dir_.filePath("Generated.idx")});
  EXPECT_EQ(mux.code, 0) << mux.out.toStdString() << mux.err.toStdString();
  EXPECT_FALSE(mux.out.contains("Warning")) << mux.out.toStdString();
  EXPECT_EQ(mux.err.toStdString(), "");

  // Each unit of the stream, at its time, in the Matroska file.
  const ToolResult probe =
      RunTool(ffprobe_, {"-v", "warning", "-select_streams", "s", "-show_entries",
                         "packet=pts,size:stream_tags=language", "-of", "csv=p=0", mkv});
  ASSERT_EQ(probe.code, 0) << probe.err.toStdString();
  EXPECT_EQ(probe.err.toStdString(), "");
  std::string expected;
  for (const StreamUnit& unit : units_) {
    expected += std::to_string(unit.pts / 90) + ',' + std::to_string(unit.bytes.size()) + '\n';
  }
  EXPECT_EQ(probe.out.toStdString(), expected + "fre\n");
}

TEST_F(VobSubTools, MkvmergeTakesAnOutOfOrderOverlappingChainedFileInTimeOrder) {
  const QString srt = dir_.filePath("timed.srt");
  testing::WriteBytes(srt,
                      "1\n00:00:10,000 --> 00:00:12,000\nchained one\n\n"
                      "2\n00:00:12,000 --> 00:00:14,000\nchained two\n\n"
                      "3\n00:00:01,000 --> 00:00:03,000\nearly\n\n"
                      "4\n00:00:02,500 --> 00:00:05,000\noverlapping\n");
  const auto outcome = testing::RunConverter(
      {"--quiet", "--format", "sup,vobsub", "--output-dir", dir_.path(), srt});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const std::vector<StreamUnit> units =
      SplitStream(testing::ReadBytes(dir_.filePath("Generated.sup")));
  // early; early and overlapping; overlapping; chained one; chained two.
  ASSERT_EQ(units.size(), 5u);
  const QString mkv = dir_.filePath("timed.mkv");
  const ToolResult mux = RunTool(mkvmerge_, {"-o", mkv, dir_.filePath("Generated.idx")});
  EXPECT_EQ(mux.code, 0) << mux.out.toStdString() << mux.err.toStdString();
  EXPECT_FALSE(mux.out.contains("Warning")) << mux.out.toStdString();
  EXPECT_EQ(mux.err.toStdString(), "");

  const ToolResult probe =
      RunTool(ffprobe_, {"-v", "warning", "-select_streams", "s", "-show_entries", "packet=pts",
                         "-of", "csv=p=0", mkv});
  ASSERT_EQ(probe.code, 0) << probe.err.toStdString();
  // A unit that follows another without a gap starts where that one is
  // taken off, less than a unit before its cue; the index gives whole ms.
  EXPECT_EQ(probe.out.toStdString(), "1000\n2490\n2991\n10000\n11991\n");
  std::vector<std::uint32_t> stamps;
  for (const StreamUnit& unit : units) {
    stamps.push_back(unit.pts);
  }
  EXPECT_EQ(stamps, (std::vector<std::uint32_t>{90000, 224144, 269200, 900000, 1079200}));
}

// One Matroska block as ffprobe lists it, in ms.
struct Block {
  long long pts = 0;
  long long duration = 0;
};

// Subpictures that follow each other without a gap in the cues meet on the
// disc: each starts where the one before is taken off. The index holds whole
// milliseconds, so there they meet within 1 ms; a repeat of a cue longer than
// the largest stop delay starts on a whole millisecond and meets exactly. A
// real gap between cues stays.
TEST_F(VobSubTools, BackToBackUnitsMeetWithoutGapOrOverlapAndRepeatsStartOnTheMillisecond) {
  const QString srt = dir_.filePath("sign.srt");
  testing::WriteBytes(srt,
                      "1\n00:00:01,000 --> 00:00:02,300\nOne\n\n"
                      "2\n00:00:02,300 --> 00:00:03,700\nTwo\n\n"
                      "3\n00:00:03,700 --> 00:00:15,000\n{\\an8}A SIGN\n\n"
                      "4\n00:00:05,000 --> 00:00:06,013\nunder the sign\n\n"
                      "5\n00:00:16,000 --> 00:14:30,000\nA LONG SIGN\n\n"
                      "6\n00:14:30,000 --> 00:14:32,000\nafter it\n");
  const auto outcome = testing::RunConverter(
      {"--quiet", "--format", "sup,vobsub", "--output-dir", dir_.path(), srt});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const QByteArray stream = testing::ReadBytes(dir_.filePath("Generated.sup"));
  const std::vector<StreamUnit> units = SplitStream(stream);
  const std::vector<testing::PacketSummary> packets = testing::ReadPackets(stream);
  // One, two, the sign, the sign with its cue, the sign; after a gap, the
  // long sign and its repeat, then the cue after it.
  ASSERT_EQ(units.size(), 8u);
  ASSERT_EQ(packets.size(), units.size());
  const auto endOf = [&](std::size_t k) {
    return static_cast<long long>(units[k].pts) + packets[k].stopDelay * 1024LL;
  };
  for (const std::size_t k : {0u, 1u, 2u, 3u, 5u, 6u}) {
    EXPECT_EQ(endOf(k), units[k + 1].pts) << "unit " << k + 1;
  }
  EXPECT_EQ(units[5].pts, 16000u * 90);
  EXPECT_LT(endOf(4), units[5].pts);
  // The repeat starts on a whole millisecond, and its index time is exact.
  EXPECT_EQ(units[6].pts % 90, 0u);
  const QByteArray index = testing::ReadBytes(dir_.filePath("Generated.idx"));
  EXPECT_TRUE(
      index.contains("timestamp: " + QByteArray::fromStdString(VobSubTimestamp(units[6].pts))))
      << index.toStdString();

  const QString mkv = dir_.filePath("sign.mkv");
  const ToolResult mux = RunTool(mkvmerge_, {"-o", mkv, dir_.filePath("Generated.idx")});
  EXPECT_EQ(mux.code, 0) << mux.out.toStdString() << mux.err.toStdString();
  EXPECT_FALSE(mux.out.contains("Warning")) << mux.out.toStdString();
  EXPECT_EQ(mux.err.toStdString(), "");
  const ToolResult probe =
      RunTool(ffprobe_, {"-v", "warning", "-select_streams", "s", "-show_entries",
                         "packet=pts,duration", "-of", "csv=p=0", mkv});
  ASSERT_EQ(probe.code, 0) << probe.err.toStdString();
  EXPECT_EQ(probe.err.toStdString(), "");
  std::vector<Block> blocks;
  for (const QByteArray& line : probe.out.trimmed().split('\n')) {
    const QList<QByteArray> fields = line.split(',');
    ASSERT_EQ(fields.size(), 2) << line.toStdString();
    blocks.push_back({fields[0].toLongLong(), fields[1].toLongLong()});
  }
  ASSERT_EQ(blocks.size(), units.size());
  for (const std::size_t k : {0u, 1u, 2u, 3u, 6u}) {
    EXPECT_LE(std::abs(blocks[k + 1].pts - (blocks[k].pts + blocks[k].duration)), 1)
        << "block " << k + 1;
  }
  EXPECT_EQ(blocks[5].pts + blocks[5].duration, blocks[6].pts);
  EXPECT_EQ(blocks[5].pts, 16000);
}

}  // namespace
}  // namespace tesmora
