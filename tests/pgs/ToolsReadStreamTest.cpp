// Our presentation graphics streams as the free tools read them: FFmpeg
// shows and clears every set at its time and draws the pictures we gave,
// and MKVToolNix muxes the stream. Skipped where the tools are missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

#include "pgs/StreamCheck.h"
#include "pgs/StreamWriter.h"
#include "tests/cli/ExternalTool.h"
#include "tests/pgs/SegmentWalk.h"

namespace tesmora::pgs {
namespace {

using testing::RunTool;
using testing::ToolResult;

// A stand-in for antialiased outlined text: a fill ramping through every
// grey, an outline of black fading out through every alpha, so the set
// needs quantising, tinted by `tint` (255 = white).
PlacedPicture TextLike(int x, int y, int width, int height, Rgba tint) {
  PlacedPicture region{x, y, {width, height, {}}};
  region.picture.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      Rgba& p = region.picture.At(col, row);
      const int edge = std::min({row, height - 1 - row});
      if (edge < 8) {
        p = {0, 0, 0, static_cast<std::uint8_t>(edge * 255 / 8)};
      } else {
        const int level = col * 255 / (width - 1);
        p = {static_cast<std::uint8_t>(level * tint.r / 255),
             static_cast<std::uint8_t>(level * tint.g / 255),
             static_cast<std::uint8_t>(level * tint.b / 255), 255};
      }
    }
  }
  return region;
}

struct Frame {
  int width = 0;
  int height = 0;
  QByteArray rgb;

  int At(int x, int y, int channel) const {
    return static_cast<std::uint8_t>(rgb[(static_cast<qsizetype>(y) * width + x) * 3 + channel]);
  }
};

// What the video frame should hold: the regions drawn over black.
Frame Expected(const VideoFormat& video, const std::vector<PlacedPicture>& regions) {
  Frame frame{video.width, video.height,
              QByteArray(static_cast<qsizetype>(video.width) * video.height * 3, '\0')};
  for (const PlacedPicture& region : regions) {
    for (int y = 0; y < region.picture.height; ++y) {
      for (int x = 0; x < region.picture.width; ++x) {
        const Rgba p = region.picture.At(x, y);
        const qsizetype at =
            (static_cast<qsizetype>(region.y + y) * video.width + region.x + x) * 3;
        frame.rgb[at] = static_cast<char>(p.r * p.a / 255);
        frame.rgb[at + 1] = static_cast<char>(p.g * p.a / 255);
        frame.rgb[at + 2] = static_cast<char>(p.b * p.a / 255);
      }
    }
  }
  return frame;
}

// Our own checker finds nothing to say of a stream we wrote.
void ExpectChecksClean(const std::vector<std::uint8_t>& bytes) {
  const CheckReport report = CheckStream(bytes);
  std::string breaches;
  for (const Breach& breach : report.breaches) {
    breaches += BreachLine(breach) + "\n";
  }
  EXPECT_EQ(breaches, "");
  EXPECT_EQ(report.unlisted, 0u);
}

class ToolsReadStream : public ::testing::TestWithParam<VideoFormat> {
 protected:
  void SetUp() override {
    ffprobe_ = QStandardPaths::findExecutable("ffprobe");
    ffmpeg_ = QStandardPaths::findExecutable("ffmpeg");
    mkvmerge_ = QStandardPaths::findExecutable("mkvmerge");
    if (ffprobe_.isEmpty() || ffmpeg_.isEmpty() || mkvmerge_.isEmpty()) {
      GTEST_SKIP() << "ffprobe, ffmpeg or mkvmerge is not installed";
    }
    ASSERT_TRUE(folder_.isValid());
  }

  QString Write(const std::vector<TimedPicture>& cues) {
    const VideoFormat video = GetParam();
    const PgsStream stream = WritePgsStream(cues, {video, StandardSpaceForHeight(video.height)});
    ExpectChecksClean(stream.bytes);
    const QString path = folder_.filePath("stream.sup");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(stream.bytes.data()),
               static_cast<qint64>(stream.bytes.size()));
    return path;
  }

  // The video frame FFmpeg draws at `tenths` of a second, in RGB.
  Frame DecodedAt(const QString& sup, int tenths) {
    const VideoFormat video = GetParam();
    const ToolResult result = RunTool(
        ffmpeg_,
        {"-v", "error", "-copyts", "-f", "lavfi", "-i",
         QString("color=black:s=%1x%2:r=10,format=rgb24").arg(video.width).arg(video.height), "-i",
         sup, "-filter_complex",
         QString("[0][1:s]overlay=format=rgb,select='eq(n,%1)'").arg(tenths), "-frames:v", "1",
         "-f", "rawvideo", "-"});
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    return {video.width, video.height, result.out};
  }

  // Each set FFmpeg decodes as "milliseconds objects", joined by ", ".
  std::string ShownTimes(const QString& sup) {
    const ToolResult probe =
        RunTool(ffprobe_, {"-v", "error", "-show_frames", "-of", "compact=p=0", sup});
    EXPECT_EQ(probe.code, 0) << probe.err.toStdString();
    EXPECT_TRUE(probe.err.isEmpty()) << probe.err.toStdString();
    QStringList shown;
    for (const QByteArray& line : probe.out.trimmed().split('\n')) {
      const QString text = QString::fromUtf8(line);
      // FFmpeg gives subtitle times in microseconds.
      shown << QString("%1 %2")
                   .arg(text.section("|pts=", 1).section('|', 0, 0).toLongLong() / 1000)
                   .arg(text.section("num_rects=", 1).section('|', 0, 0));
    }
    return shown.join(", ").toStdString();
  }

  QString ffprobe_;
  QString ffmpeg_;
  QString mkvmerge_;
  QTemporaryDir folder_;
};

std::vector<TimedPicture> TwoCues(const VideoFormat& video) {
  const int bottom = video.height - 120;
  return {
      {TicksFromMilliseconds(2000),
       TicksFromMilliseconds(3000),
       {TextLike(100, bottom, 500, 80, {255, 255, 255, 255})},
       false},
      // A top and a bottom cue at once, in colour, touching the first.
      {TicksFromMilliseconds(3000),
       TicksFromMilliseconds(4500),
       {TextLike(60, 40, 400, 60, {255, 255, 0, 255}),
        TextLike(200, bottom, 450, 70, {0, 255, 255, 255})},
       false},
  };
}

TEST_P(ToolsReadStream, FfprobeSeesEverySetShownAndClearedAtItsTime) {
  EXPECT_EQ(ShownTimes(Write(TwoCues(GetParam()))), "2000 1, 3000 2, 4500 0");
}

TEST_P(ToolsReadStream, FfmpegDrawsThePicturesWithinTheQuantisersError) {
  const std::vector<TimedPicture> cues = TwoCues(GetParam());
  const QString sup = Write(cues);
  for (const auto& [cue, tenths] : {std::pair{0, 25}, std::pair{1, 40}}) {
    const Frame got = DecodedAt(sup, tenths);
    const Frame want = Expected(GetParam(), cues[cue].regions);
    ASSERT_EQ(got.rgb.size(), want.rgb.size());
    int off = 0;
    int worst = 0;
    for (int y = 0; y < got.height; ++y) {
      for (int x = 0; x < got.width; ++x) {
        for (int c = 0; c < 3; ++c) {
          const int difference = std::abs(got.At(x, y, c) - want.At(x, y, c));
          worst = std::max(worst, difference);
          off += difference > 6 ? 1 : 0;
        }
      }
    }
    EXPECT_EQ(off, 0) << "cue " << cue << ", worst " << worst;
  }
  // After the last cue the frame is black again.
  const Frame after = DecodedAt(sup, 46);
  EXPECT_EQ(after.rgb.count('\0'), after.rgb.size());
}

// A picture whose run-length data needs three object segments: every pixel
// differs from the one before.
TEST_P(ToolsReadStream, FfmpegJoinsTheFragmentsOfALargeObject) {
  PlacedPicture checks{40, 60, {640, 240, {}}};
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 640; ++x) {
      checks.picture.pixels.push_back((x + y) % 2 ? Rgba{255, 255, 255, 255}
                                                  : Rgba{0, 0, 255, 255});
    }
  }
  const std::vector<TimedPicture> cues{
      {TicksFromMilliseconds(1000), TicksFromMilliseconds(2000), {checks}, false}};
  const QString sup = Write(cues);
  int fragments = 0;
  for (const testing::Segment& segment : testing::WalkSegments(WritePgsStream(cues, {}).bytes)) {
    fragments += segment.type == 0x15 ? 1 : 0;
  }
  EXPECT_EQ(fragments, 3);
  const Frame got = DecodedAt(sup, 15);
  const Frame want = Expected(GetParam(), cues[0].regions);
  int off = 0;
  for (int y = 0; y < got.height; ++y) {
    for (int x = 0; x < got.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        off += std::abs(got.At(x, y, c) - want.At(x, y, c)) > 6 ? 1 : 0;
      }
    }
  }
  EXPECT_EQ(off, 0);
}

// A cue fading out in three steps: one set with the object, then palette
// updates only.
TEST_P(ToolsReadStream, FfmpegShowsAFadeDoneByPaletteUpdates) {
  std::vector<TimedPicture> cues;
  for (const int step : {0, 1, 2}) {
    PlacedPicture region = TextLike(100, 100, 300, 50, {255, 255, 0, 255});
    for (Rgba& p : region.picture.pixels) {
      p.a = static_cast<std::uint8_t>(p.a * (3 - step) / 3);
    }
    cues.push_back({TicksFromMilliseconds(1000 + step * 1000),
                    TicksFromMilliseconds(2000 + step * 1000),
                    {region},
                    false});
  }
  const VideoFormat video = GetParam();
  const PgsStream stream = WritePgsStream(cues, {video, StandardSpaceForHeight(video.height)});
  int objects = 0;
  for (const testing::Segment& segment : testing::WalkSegments(stream.bytes)) {
    objects += segment.type == 0x15 ? 1 : 0;
  }
  EXPECT_EQ(objects, 1);
  const QString sup = Write(cues);
  for (const int step : {0, 1, 2}) {
    const Frame got = DecodedAt(sup, 15 + step * 10);
    const Frame want = Expected(video, cues[step].regions);
    int off = 0;
    for (int y = 0; y < got.height; ++y) {
      for (int x = 0; x < got.width; ++x) {
        for (int c = 0; c < 3; ++c) {
          off += std::abs(got.At(x, y, c) - want.At(x, y, c)) > 6 ? 1 : 0;
        }
      }
    }
    EXPECT_EQ(off, 0) << "step " << step;
  }
}

TEST_P(ToolsReadStream, MkvmergeMuxesWithoutAWarning) {
  const QString sup = Write(TwoCues(GetParam()));
  const ToolResult mux = RunTool(mkvmerge_, {"-o", folder_.filePath("out.mkv"), sup});
  EXPECT_EQ(mux.code, 0) << mux.out.toStdString();
  EXPECT_FALSE(mux.out.contains("Warning")) << mux.out.toStdString();
}

// A film's worth of cues: most with a gap, every third touching the next
// and every seventh followed by a gap too short for a new epoch.
TEST_P(ToolsReadStream, FfprobeSeesEveryCueOfAFilmAtItsTimeOrItsReportedLateStart) {
  constexpr int kCues = 1500;
  std::vector<TimedPicture> cues;
  std::int64_t start = 1000;
  for (int i = 0; i < kCues; ++i) {
    const std::int64_t gap = i % 3 == 0 ? 0 : (i % 7 == 0 ? 30 : 400);
    const int width = 200 + (i % 5) * 40;
    cues.push_back(
        {TicksFromMilliseconds(start),
         TicksFromMilliseconds(start + 1500),
         {TextLike(100 + (i % 4) * 10, GetParam().height - 100, width, 40, {255, 255, 255, 255})},
         false});
    start += 1500 + gap;
  }
  const VideoFormat video = GetParam();
  const PgsStream stream = WritePgsStream(cues, {video, StandardSpaceForHeight(video.height)});
  ExpectChecksClean(stream.bytes);
  std::vector<std::int64_t> shown_at(kCues + 1, -1);
  for (const LateCue& late : stream.late) {
    EXPECT_EQ(late.end_late_ms, 0);
    shown_at[late.number] = late.shown;
  }
  QStringList want;
  for (int i = 0; i < kCues; ++i) {
    const std::int64_t shown = (shown_at[i + 1] < 0 ? cues[i].start : shown_at[i + 1]) / 90;
    want << QString("%1 1").arg(shown);
    if (i + 1 == kCues || cues[i + 1].start > cues[i].end) {
      want << QString("%1 0").arg(cues[i].end / 90);
    }
  }
  const QString sup = folder_.filePath("film.sup");
  QFile file(sup);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(stream.bytes.data()),
             static_cast<qint64>(stream.bytes.size()));
  file.close();
  EXPECT_EQ(ShownTimes(sup), want.join(", ").toStdString());
  // Only the short gaps make a cue late, and only where clearing the plane
  // takes longer than they last (at 1080, 5832 ticks + the window's write).
  for (const LateCue& late : stream.late) {
    EXPECT_EQ((late.number - 2) % 7, 0) << late.number;
    EXPECT_LE(late.start_late_ms, 40);
  }
  EXPECT_EQ(stream.late.empty(), video.height < 1080);
}

INSTANTIATE_TEST_SUITE_P(Formats, ToolsReadStream,
                         ::testing::Values(VideoFormat{1920, 1080, FrameRateCode::Film},
                                           VideoFormat{720, 576, FrameRateCode::Pal}),
                         [](const auto& info) { return std::to_string(info.param.height); });

}  // namespace
}  // namespace tesmora::pgs
