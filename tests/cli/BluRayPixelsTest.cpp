// The converter's Blu-ray stream as FFmpeg decodes and overlays it, against
// FFmpeg's own libass drawing (its "ass" filter, which shapes as players
// do) of the same cues in the same style: the same pixels within a few
// levels over the cue's box. Skipped where FFmpeg is missing.
#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>

#include "conversion/PgsRun.h"
#include "hdrender/AssScript.h"
#include "render/NameTables.h"
#include "tests/cli/BluRayTools.h"
#include "tests/cli/CliHarness.h"

namespace tesmora::cli {
namespace {

using testing::FrameAt2s;
using testing::RunConverter;

struct Case {
  const char* name;
  const char* style;  // --style
  std::vector<HdCue> cues;
};

std::string Srt(const std::vector<HdCue>& cues) {
  const auto time = [](long long ms) {
    return QStringLiteral("00:00:%1,%2")
        .arg(ms / 1000, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
  };
  QString text;
  for (std::size_t n = 0; n < cues.size(); ++n) {
    text += QStringLiteral("%1\n%2 --> %3\n%4\n\n")
                .arg(n + 1)
                .arg(time(cues[n].startMs), time(cues[n].endMs), cues[n].lines.join('\n'));
  }
  return text.toStdString();
}

TEST(cliBluRayPixels, FfmpegShowsThePicturesLibassDrawsForTheCues) {
  if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()) {
    GTEST_SKIP() << "ffmpeg is not installed";
  }
  const QStringList twoLines{QStringLiteral("The quick brown fox jumps"),
                             QStringLiteral("over the lazy dog.")};
  const std::vector<Case> cases{
      {"plain", "Normal", {{1000, 3000, twoLines}}},
      {"bold italic", "Bold+Italic", {{1000, 3000, twoLines}}},
      {"coloured",
       "Normal",
       {{1000, 3000, {QStringLiteral("Plain, <font color=\"#f0c828\">golden</font>, plain")}}}},
      {"an8", "Normal", {{1000, 3000, {QStringLiteral("{\\an8}A sign at the top")}}}},
      {"two at once",
       "Normal",
       {{1000, 3000, {QStringLiteral("{\\an8}A sign at the top")}},
        {1500, 2500, {QStringLiteral("<i>Spoken</i> below")}}}},
  };
  for (const char* lines : {"1080", "576"}) {
    const std::optional<PgsVideo> video = PgsVideoOf(QString(lines).toInt(), std::nullopt);
    ASSERT_TRUE(video);
    const HdTarget& target = video->target;
    const QString size = QStringLiteral("%1x%2").arg(target.width).arg(target.height);
    for (const Case& test : cases) {
      SCOPED_TRACE(std::string(test.name) + " at " + lines);
      QTemporaryDir dir;
      const QString srt = dir.filePath("cues.srt");
      testing::WriteBytes(srt, QByteArray::fromStdString(Srt(test.cues)));
      const auto outcome = RunConverter(
          {"--format", "pgs", "--video", lines, "--style", test.style, "--quiet", srt});
      ASSERT_EQ(outcome.code, 0) << outcome.err;

      // The same cues in the converter's default style: white text, a black
      // outline of 3 pixels at 576 lines.
      SubtitleStyle style;
      style.style = StyleFromName(test.style);
      const std::string script = BuildAssScript(
          test.cues, MarkupDialect::Srt, HdStyleOf(style, 3, {255, 255, 255}, {0, 0, 0}), target);
      const QString ass = dir.filePath("cues.ass");
      testing::WriteBytes(ass, QByteArray::fromStdString(script));
      QString escaped = ass;
      escaped.replace(u':', QStringLiteral("\\:"));

      const QByteArray ours =
          FrameAt2s(size, {dir.filePath("Generated.sup")}, "[0][1:s]overlay=format=rgb");
      const QByteArray theirs = FrameAt2s(size, {}, "[0]ass=filename='" + escaped + "'");
      ASSERT_EQ(ours.size(), qsizetype{target.width} * target.height * 3);
      ASSERT_EQ(theirs.size(), ours.size());
      // The cue's box: every pixel either drawing changes.
      const testing::FrameAgreement agreement =
          testing::CompareFrames(ours, theirs, target.width, target.height);
      ASSERT_FALSE(agreement.box.isEmpty());
      EXPECT_GE(agreement.close * 100, agreement.inBox * 99)
          << agreement.close << " of " << agreement.inBox;
    }
  }
}

}  // namespace
}  // namespace tesmora::cli
