// Our libass pictures against FFmpeg's own drawing of the same script (its
// "subtitles" filter over black, RGB): the same pixels within a few levels.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "hdrender/AssScript.h"
#include "hdrender/HdPictures.h"
#include "tests/hdrender/RegionsOnFrame.h"

namespace tesmora {
namespace {

// One frame of FFmpeg's drawing of the script at `ms` with `filter` ("ass"
// or "subtitles"), RGB; empty when FFmpeg failed.
std::vector<std::uint8_t> FfmpegFrame(const QString& filter, const QString& assPath,
                                      const HdTarget& target, int ms) {
  // Ten frames a second, so frame ms / 100 shows at exactly `ms`.
  const QString size = QStringLiteral("%1x%2").arg(target.width).arg(target.height);
  QString filename = assPath;
  filename.replace(u'\\', QStringLiteral("\\\\")).replace(u':', QStringLiteral("\\:"));
  QProcess ffmpeg;
  ffmpeg.start(
      QStringLiteral("ffmpeg"),
      {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
       QStringLiteral("-i"), QStringLiteral("color=black:s=%1:r=10,format=rgb24").arg(size),
       QStringLiteral("-vf"),
       QStringLiteral("%1=filename='%2',select=eq(n\\,%3)").arg(filter, filename).arg(ms / 100),
       QStringLiteral("-frames:v"), QStringLiteral("1"), QStringLiteral("-f"),
       QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"), QStringLiteral("rgb24"),
       QStringLiteral("-")});
  if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
    ADD_FAILURE() << ffmpeg.readAllStandardError().toStdString();
    return {};
  }
  const QByteArray bytes = ffmpeg.readAllStandardOutput();
  return {bytes.begin(), bytes.end()};
}

struct Match {
  long long inBox = 0;
  long long close = 0;       // within 6 levels on every channel
  long long litOutside = 0;  // pixels FFmpeg lit outside the box
};

Match Compare(const std::vector<std::uint8_t>& ours, const std::vector<std::uint8_t>& theirs,
              const QRect& box, const HdTarget& target) {
  Match match;
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * target.width + x) * 3;
      if (!box.contains(x, y)) {
        match.litOutside += theirs[at] + theirs[at + 1] + theirs[at + 2] > 0 ? 1 : 0;
        continue;
      }
      ++match.inBox;
      bool close = true;
      for (int c = 0; c < 3; ++c) {
        close = close && std::abs(ours[at + c] - theirs[at + c]) <= 6;
      }
      match.close += close ? 1 : 0;
    }
  }
  return match;
}

struct Case {
  const char* name;
  std::vector<HdCue> cues;
  HdStyle style;
};

HdStyle StyleWith(bool bold, bool italic, Rgb text) {
  HdStyle style;
  style.fontName = QStringLiteral("Liberation Sans");
  style.bold = bold;
  style.italic = italic;
  style.text = text;
  style.shadow = 1;
  return style;
}

TEST(FfmpegMatch, OurPicturesEqualFfmpegsOwnLibassDrawing) {
  if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()) {
    GTEST_SKIP() << "ffmpeg is not installed";
  }
  const QStringList twoLines{QStringLiteral("The quick brown fox jumps"),
                             QStringLiteral("over the lazy dog.")};
  const std::vector<Case> cases{
      {"plain", {{1000, 3000, twoLines}}, StyleWith(false, false, {255, 255, 255})},
      {"bold italic", {{1000, 3000, twoLines}}, StyleWith(true, true, {255, 255, 255})},
      {"coloured", {{1000, 3000, twoLines}}, StyleWith(false, false, {240, 200, 40})},
      {"font colour",
       {{1000, 3000, {QStringLiteral("Plain, <font color=\"#40c0ff\">sky blue</font>, plain")}}},
       StyleWith(false, false, {255, 255, 255})},
      {"an8",
       {{1000, 3000, {QStringLiteral("{\\an8}A sign at the top")}}},
       StyleWith(false, false, {255, 255, 255})},
      {"two at once",
       {{1000, 3000, {QStringLiteral("{\\an8}A sign at the top")}},
        {1500, 2500, {QStringLiteral("<i>Spoken</i> below")}}},
       StyleWith(false, false, {255, 255, 255})},
  };
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  // FFmpeg's "ass" filter lets libass shape as players do; its "subtitles"
  // filter shapes simply.
  const std::vector<std::pair<QString, AssShaping>> filters{
      {QStringLiteral("ass"), AssShaping::Complex},
      {QStringLiteral("subtitles"), AssShaping::Simple}};
  for (const auto& [filter, shaping] : filters) {
    for (const int lines : {1080, 576}) {
      const HdTarget target = *HdTargetForLines(lines);
      for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.name) + " at " + std::to_string(lines) + " with " +
                     filter.toStdString());
        const std::string script =
            BuildAssScript(test.cues, MarkupDialect::Srt, test.style, target);
        const QString path = folder.filePath(QStringLiteral("cue.ass"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(script.data(), static_cast<qint64>(script.size()));
        file.close();

        const int at = 2000;  // mid-cue, on a frame of FFmpeg's rate
        const StablePictures drawn =
            RenderCuePictures(test.cues, MarkupDialect::Srt, test.style, target, shaping);
        const TimedPicture* shown = nullptr;
        for (const TimedPicture& picture : drawn.pictures) {
          if (picture.startMs <= at && at < picture.endMs) {
            shown = &picture;
          }
        }
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->regions.size(), test.cues.size());
        const std::vector<std::uint8_t> theirs = FfmpegFrame(filter, path, target, at);
        ASSERT_EQ(theirs.size(), static_cast<std::size_t>(target.width) * target.height * 3);
        const std::vector<std::uint8_t> ours =
            OverBlack(shown->regions, target.width, target.height);
        const Match match = Compare(ours, theirs, BoundsOf(shown->regions), target);
        EXPECT_GE(match.close * 100, match.inBox * 99) << match.close << " of " << match.inBox;
        EXPECT_EQ(match.litOutside, 0);
      }
    }
  }
}

}  // namespace
}  // namespace tesmora
