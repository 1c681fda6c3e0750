// tesmora-cli --format pgs with an ASS file: libass draws the file as it is
// (FFmpeg's own drawing of the same file matches the decoded stream), the
// objects of one style are marked forced, the run's time changes move the
// events, and changes while shown become sets at frame times or a note.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include "cli/CliConsole.h"
#include "tests/cli/BluRayTools.h"
#include "tests/cli/CliHarness.h"

namespace tesmora::cli {
namespace {

using testing::Breaches;
using testing::CompareFrames;
using testing::Compositions;
using testing::FrameAgreement;
using testing::FrameAt2s;
using testing::ReadBytes;
using testing::RunConverter;
using testing::Shown;

const char kHeader[] =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n"
    "ScaledBorderAndShadow: yes\n\n[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,Liberation Sans,64,&H00FFFFFF,&H000000FF,&H00000000,&H80000000,0,0,0,0,"
    "100,100,0,0,1,3,1,2,40,40,50,1\n"
    "Style: Sign,Liberation Serif,56,&H0000C8F0,&H000000FF,&H00402000,&H80000000,1,0,0,0,"
    "100,100,0,0,1,2,0,8,40,40,60,1\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";

// Two styles shown together at 2 s, a fade done by then, a placed sign, a
// move along the bottom from 4 s to 5 s and one across the frame from 7 s.
const char kEvents[] =
    "Dialogue: 0,0:00:01.00,0:00:03.00,Default,,0,0,0,,{\\fad(300,300)}Fading words below\n"
    "Dialogue: 0,0:00:01.00,0:00:03.00,Sign,,0,0,0,,The harbour, at the top\n"
    "Dialogue: 0,0:00:01.50,0:00:03.00,Sign,,0,0,0,,{\\an7\\pos(200,300)}Placed sign\n"
    "Dialogue: 0,0:00:04.00,0:00:06.00,Default,,0,0,0,,"
    "{\\move(400,800,1400,800,0,1000)}Moving along\n"
    "Dialogue: 0,0:00:07.00,0:00:09.00,Default,,0,0,0,,"
    "{\\fs150\\move(100,200,1500,1000,0,1000)}Across the frame\n";

class AssBluRayRun : public testing::ConverterFolderTest {
 protected:
  QString script(const QString& name, const std::string& events) const {
    return write(name, QByteArray(kHeader) + QByteArray::fromStdString(events));
  }
};

TEST_F(AssBluRayRun, FfmpegShowsTheFileAsItsOwnLibassDrawingDoes) {
  if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty()) {
    GTEST_SKIP() << "ffmpeg is not installed";
  }
  const QString ass = script("styled.ass", kEvents);
  QString escaped = ass;
  escaped.replace(u':', QStringLiteral("\\:"));
  for (const auto& [lines, size] : {std::pair{"1080", "1920x1080"}, std::pair{"576", "720x576"}}) {
    SCOPED_TRACE(lines);
    const auto outcome = RunConverter({"--format", "pgs", "--video", lines, "--output-dir",
                                       dir.path(), "--name", "styled", "--quiet", ass});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    const QByteArray stream = ReadBytes(path("styled.sup"));
    EXPECT_EQ(Breaches(stream), "");

    const QByteArray ours = FrameAt2s(size, {path("styled.sup")}, "[0][1:s]overlay=format=rgb");
    const QByteArray theirs = FrameAt2s(size, {}, "[0]ass=filename='" + escaped + "'");
    ASSERT_EQ(theirs.size(), ours.size());
    ASSERT_FALSE(ours.isEmpty());
    const int width = QString(size).section('x', 0, 0).toInt();
    const int height = QString(lines).toInt();
    const FrameAgreement agreement = CompareFrames(ours, theirs, width, height);
    // The sign at the top and the words below are both in the box.
    ASSERT_LT(agreement.box.top(), height / 5);
    ASSERT_GT(agreement.box.bottom(), height * 4 / 5);
    EXPECT_GE(agreement.close * 100, agreement.inBox * 99)
        << agreement.close << " of " << agreement.inBox;
  }
}

TEST_F(AssBluRayRun, ForcedStyleMarksThatStylesObjectsAlone) {
  const QString ass = script("styled.ass", kEvents);
  const auto outcome = RunConverter({"--format", "pgs", "--output-dir", dir.path(), "--name",
                                     "styled", "--forced-style", "Sign", ass});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const std::vector<Shown> shown = Compositions(ReadBytes(path("styled.sup")));
  bool together = false;
  for (const Shown& set : shown) {
    if (set.paletteOnly || set.objects.empty()) {
      continue;
    }
    if (set.pts >= 4000 * 90) {
      // The moving Default line.
      EXPECT_FALSE(set.objects[0].second) << set.pts;
    } else if (set.objects.size() == 2) {
      // The signs at the top forced, the words below not.
      together = true;
      EXPECT_LT(set.objects[0].first, set.objects[1].first);
      EXPECT_TRUE(set.objects[0].second);
      EXPECT_FALSE(set.objects[1].second);
    }
  }
  EXPECT_TRUE(together);

  // Without the option nothing is forced; with --forced everything is.
  for (const bool forced : {false, true}) {
    QStringList arguments{"--format", "pgs",   "--output-dir", dir.path(),
                          "--name",   "plain", "--quiet",      ass};
    if (forced) {
      arguments.prepend("--forced");
    }
    ASSERT_EQ(RunConverter(arguments).code, 0);
    for (const Shown& set : Compositions(ReadBytes(path("plain.sup")))) {
      for (const auto& object : set.objects) {
        EXPECT_EQ(object.second, forced);
      }
    }
  }
}

TEST_F(AssBluRayRun, RefusesAStyleTheFileLacksAndFilesWithoutStyles) {
  const QString ass = script("styled.ass", kEvents);
  const auto unknown =
      RunConverter({"--format", "pgs", "--output-dir", dir.path(), "--forced-style", "Signs", ass});
  EXPECT_EQ(unknown.code, kExitRefused);
  EXPECT_EQ(unknown.err,
            "tesmora-cli: --forced-style: the file has no style called \"Signs\"; its styles are "
            "\"Default\" and \"Sign\".\n");
  const QString srt = write("cues.srt", "1\n00:00:01,000 --> 00:00:02,000\nWords\n\n");
  const auto noStyles = RunConverter(
      {"--format", "pgs", "--output-dir", dir.path(), "--forced-style", "Default", srt});
  EXPECT_EQ(noStyles.code, kExitRefused);
  EXPECT_EQ(noStyles.err, "tesmora-cli: " + QDir(dir.path()).absolutePath().toStdString() +
                              "/cues.srt: --forced-style picks the subtitles of one style of an "
                              "ASS or SSA file, and this file has no styles; --forced marks "
                              "every subtitle.\n");
  const auto dvd = RunConverter({"--forced-style", "Sign", ass});
  EXPECT_EQ(dvd.code, kExitUsage);
  EXPECT_EQ(entries(), (QStringList{"cues.srt", "styled.ass"}));
}

TEST_F(AssBluRayRun, ShiftsAndConvertsTheEventsTimesAndDecodesCodePageText) {
  // Latin-1 bytes, as an editor on an older system saves them.
  const QString ass = write("latin.ass", QByteArray(kHeader) +
                                             "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,"
                                             "Caf\xe9 cr\xe8me\n");
  const auto outcome =
      RunConverter({"--format", "pgs", "--output-dir", dir.path(), "--name", "latin",
                    "--convert-fps", "25:23.976", "--shift", "500", "--quiet", ass});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  const std::vector<Shown> shown = Compositions(ReadBytes(path("latin.sup")));
  ASSERT_EQ(shown.size(), 2u);
  // 1000 ms at 25 shown at 23.976 is 1042.708 → 1043, then 500 later; the
  // end, 2085, likewise.
  EXPECT_EQ(shown[0].pts, 1543u * 90);
  EXPECT_EQ(shown[1].pts, 2585u * 90);
  // A shift that moves an event before 0 is refused, naming it.
  const auto early = RunConverter(
      {"--format", "pgs", "--output-dir", dir.path(), "--name", "early", "--shift", "-1500", ass});
  EXPECT_EQ(early.code, kExitRefused);
  EXPECT_NE(early.err.find("1"), std::string::npos) << early.err;
  EXPECT_FALSE(QFile::exists(path("early.sup")));
}

TEST_F(AssBluRayRun, AMoveIsShownAtFrameTimesAndWhatThePlayerCannotDrawIsSaid) {
  const QString ass = script("move.ass", kEvents);
  const auto outcome =
      RunConverter({"--format", "pgs", "--output-dir", dir.path(), "--name", "move", ass});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const QByteArray stream = ReadBytes(path("move.sup"));
  EXPECT_EQ(Breaches(stream), "");
  // The move along the bottom stays in one window, so each step is a set
  // of the same epoch, decoded within a frame: nearly every frame is shown
  // (the step 4 ms after the event's start may have to wait).
  int steps = 0;
  for (const Shown& set : Compositions(stream)) {
    if (set.pts <= 4000 * 90 || set.pts >= 5100 * 90 || set.objects.empty()) {
      continue;
    }
    ++steps;
    // A frame of 23.976: ms rounded up from n × 1001 / 24.
    const long long ms = set.pts / 90;
    const long long frame = ms * 24 / 1001;
    EXPECT_TRUE((frame * 1001 + 23) / 24 == ms || ((frame + 1) * 1001 + 23) / 24 == ms) << set.pts;
  }
  EXPECT_GE(steps, 22);
  // The move across the frame needs a new epoch at each step, whose plane
  // clear takes longer than a frame: some steps are left out, said once.
  EXPECT_NE(outcome.err.find("Subtitle 5 changes faster than the player can redraw it (from "
                             "00:00:07,0"),
            std::string::npos)
      << outcome.err;

  // A ten-minute move is drawn at its ends only, quickly, and said so.
  const QString slow = script("slow.ass",
                              "Dialogue: 0,0:00:01.00,0:10:01.00,Default,,0,0,0,,"
                              "{\\move(100,900,1800,900)}Slowly\n");
  QElapsedTimer timer;
  timer.start();
  const auto long_ =
      RunConverter({"--format", "pgs", "--output-dir", dir.path(), "--name", "slow", slow});
  EXPECT_LT(timer.elapsed(), 60'000);
  ASSERT_EQ(long_.code, 0) << long_.err;
  EXPECT_NE(long_.err.find("Subtitle 1 changes for longer than 60 seconds: its picture is held "
                           "still from 00:00:30,990 until 00:09:30,988."),
            std::string::npos)
      << long_.err;
  const QByteArray slowStream = ReadBytes(path("slow.sup"));
  EXPECT_EQ(Breaches(slowStream), "");
  EXPECT_LT(slowStream.size(), 20 * 1024 * 1024);
}

// Forced regions found beside others, steps of a move left out, a long
// move held still, in scenes enough for several threads: one thread and
// three write the same stream and BDN XML and say the same.
TEST_F(AssBluRayRun, AnyNumberOfThreadsWritesTheSameForcedAndChangingStream) {
  std::string events;
  for (int k = 0; k < 4; ++k) {
    // kEvents again, ten seconds later each time.
    const std::string shift = "0:00:" + std::to_string(k);
    std::string block = kEvents;
    for (std::size_t at = block.find("0:00:0"); at != std::string::npos;
         at = block.find("0:00:0", at + 1)) {
      block.replace(at, 6, shift);
    }
    events += block;
  }
  events += "Dialogue: 0,0:00:50.00,0:02:00.00,Default,,0,0,0,,{\\move(100,900,1800,900)}Slowly\n";
  const QString ass = script("threads.ass", events);
  QByteArray first;
  QByteArray firstXml;
  std::string said;
  for (const char* threads : {"1", "3"}) {
    const QString name = QStringLiteral("threads-j") + threads;
    const auto outcome = RunConverter({"--format", "pgs,bdn", "-j", threads, "--output-dir",
                                       dir.path(), "--name", name, "--forced-style", "Sign", ass});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    const QByteArray stream = ReadBytes(path(name + ".sup"));
    // The XML names its pictures after the run, so it is compared by
    // what differs only there.
    QByteArray xml = ReadBytes(path(name + ".xml"));
    xml.replace(name.toUtf8(), "threads");
    if (first.isEmpty()) {
      first = stream;
      firstXml = xml;
      EXPECT_TRUE(xml.contains("Forced=\"True\"")) << "no forced event in the BDN XML";
      said = outcome.err;
      EXPECT_NE(said.find("Subtitle 20 changes faster than the player can redraw it"),
                std::string::npos)
          << said;
      EXPECT_NE(said.find("Subtitle 21 changes for longer than 60 seconds"), std::string::npos)
          << said;
    } else {
      EXPECT_TRUE(stream == first) << "-j " << threads << " wrote other bytes";
      EXPECT_TRUE(xml == firstXml) << "-j " << threads << " wrote another BDN XML";
      EXPECT_EQ(outcome.err, said);
    }
  }
  bool forced = false;
  for (const Shown& set : Compositions(first)) {
    for (const auto& object : set.objects) {
      forced = forced || object.second;
    }
  }
  EXPECT_TRUE(forced);
}

}  // namespace
}  // namespace tesmora::cli
