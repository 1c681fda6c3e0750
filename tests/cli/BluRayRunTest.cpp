// tesmora-cli --format pgs: the Blu-ray stream of a subtitle file as the
// free tools read it (FFmpeg shows and clears every cue at its time,
// MKVToolNix muxes it), clean by our own checker, the notes of late cues,
// and the refusals of choices the stream cannot take.
#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <cstdlib>

#include "cli/CliOptions.h"
#include "pgs/SegmentTypes.h"
#include "pgs/StreamReader.h"
#include "tests/cli/BluRayTools.h"
#include "tests/cli/CliHarness.h"
#include "tests/cli/ExternalTool.h"

namespace tesmora::cli {
namespace {

using testing::Breaches;
using testing::Bytes;
using testing::ReadBytes;
using testing::RunConverter;
using testing::RunTool;
using testing::ToolResult;

// The forced flags of every object every composition shows.
std::vector<bool> ForcedFlags(const QByteArray& stream) {
  std::vector<bool> flags;
  for (const testing::Shown& shown : testing::Compositions(stream)) {
    for (const auto& [y, forced] : shown.objects) {
      flags.push_back(forced);
    }
  }
  return flags;
}

// The brightest luma of every palette the stream holds.
int BrightestLuma(const QByteArray& stream) {
  int brightest = 0;
  for (const pgs::DisplaySet& set : pgs::ReadStream(Bytes(stream)).sets) {
    for (const pgs::Segment& segment : set.segments) {
      if (segment.type == static_cast<std::uint8_t>(pgs::SegmentType::Palette)) {
        // Id and version, then index, Y, Cr, Cb and alpha of each entry.
        for (std::size_t at = 2; at + 5 <= segment.payload.size(); at += 5) {
          brightest = std::max<int>(brightest, segment.payload[at + 1]);
        }
      }
    }
  }
  return brightest;
}

struct Video {
  const char* lines;
  double frameMs;
};

class BluRayRun : public testing::ConverterFolderTest,
                  public ::testing::WithParamInterface<Video> {};

// Every cue of the film shown and cleared within a frame of its time, and
// nothing else; the stream is clean and muxes without a warning.
TEST_P(BluRayRun, ToolsShowEveryCueOfTheFilmAtItsTime) {
  const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
  const QString mkvmerge = QStandardPaths::findExecutable("mkvmerge");
  if (ffprobe.isEmpty() || mkvmerge.isEmpty()) {
    GTEST_SKIP() << "ffprobe or mkvmerge is not installed";
  }
  const QString film = QStringLiteral(TESMORA_EXAMPLES_DIR "/harbour.srt");
  const auto outcome = RunConverter({"--format", "pgs", "--video", GetParam().lines, "--output-dir",
                                     dir.path(), "--name", "harbour", film});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(outcome.out,
            "Blu-ray subtitle streams (PGS) written; mux them with the video, for example with "
            "mkvmerge.\n\nGenerated Files:\n" +
                folder() + "harbour.sup\n");
  EXPECT_EQ(entries(), QStringList{"harbour.sup"});  // no DVD help file
  const QString sup = path("harbour.sup");
  EXPECT_EQ(Breaches(ReadBytes(sup)), "");
  const auto checked = RunConverter({"--check", sup});
  EXPECT_EQ(checked.code, 0) << checked.out;

  const ToolResult probe =
      RunTool(ffprobe, {"-v", "error", "-show_frames", "-of", "compact=p=0", sup});
  ASSERT_EQ(probe.code, 0);
  EXPECT_TRUE(probe.err.isEmpty()) << probe.err.toStdString();
  std::vector<std::pair<double, int>> shown;  // ms, objects
  for (const QByteArray& line : probe.out.trimmed().split('\n')) {
    const QString text = QString::fromUtf8(line);
    shown.emplace_back(text.section("|pts=", 1).section('|', 0, 0).toLongLong() / 1000.0,
                       text.section("num_rects=", 1).section('|', 0, 0).toInt());
  }
  const std::vector<std::pair<double, double>> cues{{1000, 3500},   {4000, 7000},   {7800, 10200},
                                                    {11000, 14000}, {15000, 17500}, {18000, 21000}};
  ASSERT_EQ(shown.size(), cues.size() * 2);
  for (std::size_t n = 0; n < cues.size(); ++n) {
    EXPECT_GE(shown[n * 2].second, 1) << "cue " << n + 1;
    EXPECT_NEAR(shown[n * 2].first, cues[n].first, GetParam().frameMs) << "cue " << n + 1;
    EXPECT_EQ(shown[n * 2 + 1].second, 0) << "cue " << n + 1;
    EXPECT_NEAR(shown[n * 2 + 1].first, cues[n].second, GetParam().frameMs) << "cue " << n + 1;
  }

  const ToolResult mux = RunTool(mkvmerge, {"-o", path("harbour.mkv"), sup});
  EXPECT_EQ(mux.code, 0) << mux.out.toStdString();  // 1 is "done with warnings"
  EXPECT_FALSE(mux.out.contains("Warning")) << mux.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Videos, BluRayRun,
                         ::testing::Values(Video{"1080", 1001.0 / 24}, Video{"576", 40.0}));

using BluRayNotes = testing::ConverterFolderTest;

// A cue after too short a gap for the player to clear the frame and draw
// it starts late and says so, even with --quiet; --forced marks every
// object of the stream.
TEST_F(BluRayNotes, ALateCueIsNotedAndForcedMarksEveryObject) {
  const QString film = write("late.srt",
                             "1\n00:00:01,000 --> 00:00:02,000\nAt the bottom\n\n"
                             "2\n00:00:02,010 --> 00:00:03,000\n{\\an8}At the top, just after\n");
  const auto outcome = RunConverter({"--format", "pgs", "--quiet", "--forced", film});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "");
  const std::string prefix = "Subtitle 2 starts ";
  const std::string suffix = " ms late: the player is still drawing the one before.\n";
  ASSERT_EQ(outcome.err.rfind(prefix, 0), 0u) << outcome.err;
  ASSERT_GT(outcome.err.size(), prefix.size() + suffix.size());
  EXPECT_EQ(outcome.err.substr(outcome.err.size() - suffix.size()), suffix);
  const int late = std::atoi(outcome.err.c_str() + prefix.size());
  EXPECT_GT(late, 0);
  EXPECT_LT(late, 200);

  const QByteArray stream = ReadBytes(path("Generated.sup"));
  EXPECT_EQ(Breaches(stream), "");
  const std::vector<bool> forced = ForcedFlags(stream);
  ASSERT_FALSE(forced.empty());
  EXPECT_EQ(std::count(forced.begin(), forced.end(), false), 0);
}

// White text is the top of the video range in SDR, and the 203 nits of
// graphics white under --hdr, well below HDR10's peak.
TEST_F(BluRayNotes, HdrCodesWhiteTextAtGraphicsWhite) {
  const QString film = write("film.srt", "1\n00:00:01,000 --> 00:00:02,000\nWhite text\n");
  ASSERT_EQ(RunConverter({"--format", "pgs", "--name", "sdr", film}).code, 0);
  ASSERT_EQ(RunConverter({"--format", "pgs", "--hdr", "--name", "hdr", film}).code, 0);
  EXPECT_EQ(BrightestLuma(ReadBytes(path("sdr.sup"))), 235);
  const int hdr = BrightestLuma(ReadBytes(path("hdr.sup")));
  EXPECT_GE(hdr, 138);
  EXPECT_LE(hdr, 148);
}

// A refused film keeps the earlier stream as it was and leaves nothing else.
TEST_F(BluRayNotes, ARefusedRunChangesNoFile) {
  const QString film = write("film.srt", "1\n00:00:01,000 --> 00:00:02,000\nA line\n");
  write("Generated.sup", "earlier");
  const auto outcome = RunConverter({"--format", "pgs", "--shift", "-5000", film});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_EQ(ReadBytes(path("Generated.sup")), "earlier");
  EXPECT_EQ(entries(), (QStringList{"Generated.sup", "film.srt"}));
}

TEST(cliBluRayOptions, ReadsTheVideoAndRefusesWhatTheStreamCannotTake) {
  const Command chosen = ParseCommandLine({"--format", "pgs", "--video", "576", "--hdr", "f.srt"});
  ASSERT_EQ(chosen.action, CommandAction::Run) << chosen.error;
  EXPECT_TRUE(chosen.options.pgs);
  EXPECT_TRUE(chosen.options.hdr);
  EXPECT_EQ(chosen.options.videoLines, 576);
  EXPECT_EQ(
      ParseCommandLine({"--format", "pgs", "--video", "720", "--fps", "59.94", "f.srt"}).action,
      CommandAction::Run);
  const Command both = ParseCommandLine({"--format", "bdn,PGS", "--video", "576", "f.srt"});
  ASSERT_EQ(both.action, CommandAction::Run) << both.error;
  EXPECT_TRUE(both.options.pgs);
  EXPECT_TRUE(both.options.bdn);
  EXPECT_FALSE(ParseCommandLine({"--format", "bdn", "f.srt"}).options.pgs);

  const std::vector<std::pair<QStringList, std::string>> cases{
      {{"--format", "pgs", "--video", "1081", "f.srt"},
       "--video must be one of 1080, 720, 576, 480 (got '1081')"},
      {{"--format", "pgs", "--video", "720", "--fps", "25", "f.srt"},
       "--fps 25 is no rate of 720-line Blu-ray video, which takes 23.976, 24, 50 or 59.94"},
      {{"--format", "pgs", "--video", "576", "--fps", "23.976", "f.srt"},
       "--fps 23.976 is no rate of 576-line Blu-ray video, which takes 25"},
      {{"--format", "pgs", "--fps", "30", "f.srt"},
       "--fps 30 is no rate of 1080-line Blu-ray video, which takes 23.976, 24, 25, 29.97, 50 "
       "or 59.94"},
      {{"--format", "pgs,vobsub", "f.srt"},
       "--format pgs writes the Blu-ray stream alone; it cannot be listed with other formats "
       "(got 'pgs,vobsub')"},
      {{"--format", "pgs", "--ifo", "VTS_01_0.IFO", "f.srt"},
       "--ifo applies only to the DVD formats; it cannot be used with --format pgs"},
      {{"--roles", "1,0,3,0", "--format", "pgs", "f.srt"},
       "--roles applies only to the DVD formats; it cannot be used with --format pgs"},
      {{"--format", "pgs", "--palette"},
       "--palette lists the DVD palette; it cannot be used with --format pgs"},
      {{"--video", "720", "f.srt"}, "--video applies only to --format pgs or bdn"},
      {{"--hdr", "f.srt"}, "--hdr applies only to --format pgs"},
      {{"--format", "bdn,sup", "f.srt"},
       "--format bdn writes Blu-ray pictures; it can be listed with pgs only (got 'bdn,sup')"},
      {{"--format", "pgs,bdn", "--hdr", "f.srt"},
       "--hdr cannot be used with --format bdn: its PNG pictures are plain RGB, whose colours "
       "the authoring suite codes for the video"},
      {{"--format", "bdn", "--language", "de", "f.srt"},
       "--language applies only to the DVD formats; it cannot be used with --format bdn"},
  };
  for (const auto& [arguments, reason] : cases) {
    const Command command = ParseCommandLine(arguments);
    EXPECT_EQ(command.action, CommandAction::UsageError) << arguments.join(' ').toStdString();
    EXPECT_EQ(command.error, reason);
  }
}

}  // namespace
}  // namespace tesmora::cli
