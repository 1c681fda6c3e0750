// The converter's time options and the order and timing of the written
// subpictures, read back from the stream.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "output/HelpFile.h"
#include "tests/cli/CliHarness.h"
#include "tests/cli/SupStream.h"

namespace tesmora {
namespace {

using testing::ReadBytes;
using testing::ReadPackets;
using testing::RunConverter;
using testing::WriteBytes;

class TimesTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) const {
    WriteBytes(dir.filePath(name), bytes);
    return dir.filePath(name);
  }
  std::vector<testing::PacketSummary> packets() const {
    return ReadPackets(ReadBytes(dir.filePath(kStreamFileName)));
  }
  std::vector<std::uint32_t> starts() const {
    std::vector<std::uint32_t> result;
    for (const auto& packet : packets()) {
      result.push_back(packet.pts);
    }
    return result;
  }

  QTemporaryDir dir;
};

TEST_F(TimesTest, FpsReadsAFrameFileWithoutRate) {
  const QString file = write("film.sub", "{24}{48}first\n{48}{72}second\n");
  const auto refused = RunConverter({"--quiet", file});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err,
            "The first line of the sub must contain the framerate. Ex: {1}{1}25.000, or give "
            "the rate with --fps RATE.\n");
  const auto outcome = RunConverter({"--quiet", "--fps", "23.976", file});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  // 1001 ms, and where the first is taken off, 87 units later (2002 ms less
  // 912 ticks): the two follow each other without a gap.
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{90090, 179178}));
}

TEST_F(TimesTest, AFirstCueWhoseTextIsANumberIsNoRate) {
  const QString file = write("film.sub", "{250}{300}1944\n{400}{500}Paris, in the spring\n");
  const auto refused = RunConverter({"--quiet", file});
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err,
            "The first line of the sub must contain the framerate. Ex: {1}{1}25.000, or give "
            "the rate with --fps RATE.\n");
  EXPECT_FALSE(QFile::exists(dir.filePath(kStreamFileName)));
  const auto outcome = RunConverter({"--quiet", "--fps", "25", file});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{900000, 1440000}));  // 10 s and 16 s
}

TEST_F(TimesTest, FpsReplacesTheFilesOwnRateAndSaysSo) {
  const QString file = write("film.sub", "{1}{1}25\n{30}{60}x\n");
  const auto outcome = RunConverter({"--quiet", "--fps", "30", file});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "The frame rate 30 replaces the file's own rate 25.\n");
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{90000}));
  const auto srt = RunConverter(
      {"--quiet", "--fps", "30", write("film.srt", "1\n00:00:01,000 --> 00:00:02,000\nx\n")});
  EXPECT_EQ(srt.err, "The frame rate 30 is not used: an SRT file gives times, not frames.\n");
  // With a Blu-ray stream the rate is the video's, and is used there.
  const auto bluRay = RunConverter({"--quiet", "--format", "pgs", "--video", "576", "--fps", "25",
                                    "--output-dir", dir.path(), dir.filePath("film.srt")});
  ASSERT_EQ(bluRay.code, 0) << bluRay.err;
  EXPECT_EQ(bluRay.err, "");
}

TEST_F(TimesTest, ShiftAndRateConversionMoveEveryCue) {
  const QString file = write("film.srt",
                             "1\n00:00:01,000 --> 00:00:02,000\na\n\n"
                             "2\n00:00:25,000 --> 00:00:26,000\nb\n");
  ASSERT_EQ(RunConverter({"--quiet", "--shift", "-500", file}).code, 0);
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{45000, 2205000}));
  // 25 fps shown at 24: everything a 25/24 later; then the shift.
  ASSERT_EQ(RunConverter({"--quiet", "--convert-fps", "25:24", "--shift", "+1000", file}).code, 0);
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{183780, 2433780}));  // 2042, 27042 ms
}

TEST_F(TimesTest, AShiftBeforeTheStartIsRefusedNamingTheCue) {
  const QString file = write("film.srt", "1\n00:00:01,000 --> 00:00:02,000\na\n");
  const auto outcome = RunConverter({"--quiet", "--shift", "-1001", file});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_EQ(outcome.err,
            "Subtitle 1, starting at 00:00:01,000: moved by -1001 ms, it would start before the "
            "beginning of the video.\n");
}

TEST_F(TimesTest, AShiftMovesCuesReadBeforeZeroAndOnlyWhatStaysBeforeIsRefused) {
  const QString srt = write("early.srt",
                            "1\n-00:00:00,800 --> -00:00:00,600\nearly\n\n"
                            "2\n-0:00:00,500 --> 00:00:02,000\nless early\n\n"
                            "3\n00:00:03,000 --> 00:00:04,000\nin time\n");
  const auto moved = RunConverter({"--quiet", "--shift", "1000", srt});
  ASSERT_EQ(moved.code, 0) << moved.err;
  EXPECT_EQ(moved.err, "");
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{18000, 45000, 360000}));  // 200, 500, 4000 ms
  QFile::remove(dir.filePath(kStreamFileName));
  const auto tooLittle = RunConverter({"--quiet", "--shift", "600", srt});
  EXPECT_EQ(tooLittle.code, 1);
  EXPECT_EQ(tooLittle.err,
            "The subtitle at line 2 starts before the beginning of the video (-00:00:00,800 --> "
            "-00:00:00,600); a subpicture cannot start before 0. Please correct the file and load "
            "it again.\n");
  EXPECT_FALSE(QFile::exists(dir.filePath(kStreamFileName)));
  // Frames too, converted first: frame -25 at 25 fps is -1000 ms, which
  // 25 fps shown at 24 stretches to -1042 ms.
  const QString sub = write("early.sub", "{1}{1}25\n{-25}{25}early\n{50}{75}later\n");
  const auto converted =
      RunConverter({"--quiet", "--convert-fps", "25:24", "--shift", "1042", sub});
  ASSERT_EQ(converted.code, 0) << converted.err;
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{0, 281250}));  // 0 and 2083 + 1042 ms
  const auto stillEarly =
      RunConverter({"--quiet", "--convert-fps", "25:24", "--shift", "1041", sub});
  EXPECT_EQ(stillEarly.code, 1);
  EXPECT_EQ(stillEarly.err,
            "The subtitle line \"{-25}{25}early\" starts before the beginning of the video; a "
            "subpicture cannot start before 0. Please correct the file and load it again.\n");
}

TEST_F(TimesTest, RefusesTimeOptionsThatAreNotNumbers) {
  for (const QStringList& arguments :
       {QStringList{"--fps", "fast"}, QStringList{"--fps", "0"}, QStringList{"--shift", "1s"},
        QStringList{"--convert-fps", "25"}}) {
    const auto outcome = RunConverter(arguments + QStringList{"film.srt"});
    EXPECT_EQ(outcome.code, 2) << arguments.join(' ').toStdString();
    EXPECT_NE(outcome.err.find(arguments[0].toStdString() + " must be"), std::string::npos)
        << outcome.err;
  }
}

// Every subpicture starts after the one before it and stops by the time the
// next one starts.
void ExpectOrderedAndApart(const std::vector<testing::PacketSummary>& packets) {
  for (std::size_t i = 0; i + 1 < packets.size(); ++i) {
    EXPECT_LT(packets[i].pts, packets[i + 1].pts) << i;
    EXPECT_LE(packets[i].pts + packets[i].stopDelay * 1024u, packets[i + 1].pts) << i;
  }
}

TEST_F(TimesTest, RefusesMoreCuesAtOnceThanAFrameHoldsAndWritesNothing) {
  QByteArray text;
  for (int i = 1; i <= 2000; ++i) {
    text += QByteArray::number(i) + "\n00:00:01,000 --> 00:00:05,000\nSame words\n\n";
  }
  const auto outcome = RunConverter({"--quiet", write("film.srt", text)});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_EQ(outcome.err,
            "Subtitle 101, starting at 00:00:01,000: it would be shown at the same time as 100 "
            "other subtitles (1-100), more than a frame can hold (at most 100 at once).\n");
  EXPECT_FALSE(QFile::exists(dir.filePath(kStreamFileName)));
}

TEST_F(TimesTest, WritesOutOfOrderAndOverlappingCuesAsOrderedStretches) {
  const QString file = write("film.srt",
                             "1\n00:00:05,000 --> 00:00:08,000\nlast\n\n"
                             "2\n00:00:01,000 --> 00:00:03,000\nfirst\n\n"
                             "3\n00:00:02,000 --> 00:00:04,000\nsecond\n");
  const auto outcome = RunConverter({"--quiet", file});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err,
            "1 subtitle was out of order; it is written in time order (subtitle 2).\n"
            "2 subtitles overlap others; they are drawn together while they overlap (first: "
            "subtitle 2).\n");
  const auto written = packets();
  ASSERT_EQ(written.size(), 4u);
  // 1000 ms is 87.9 units: rounded to 88 it would reach past the next start.
  // The next starts where it is taken off, 912 ticks early, and so on; the
  // last starts at its own time after a gap.
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{90000, 179088, 269200, 450000}));
  EXPECT_EQ(written[0].stopDelay, 87);
  EXPECT_EQ(written[1].stopDelay, 88);
  EXPECT_EQ(written[2].stopDelay, 89);   // nothing follows at once
  EXPECT_EQ(written[3].stopDelay, 264);  // 3000 ms
  ExpectOrderedAndApart(written);
}

TEST_F(TimesTest, RepeatsACueLongerThanTheLargestStopDelay) {
  // 20 minutes; one unit shows at most 65535 * 1024 ticks, about 745.6 s.
  const auto outcome = RunConverter({"--quiet", write("film.srt",
                                                      "1\n00:00:01,000 --> 00:20:01,000\nlong\n\n"
                                                      "2\n00:20:01,000 --> 00:20:02,000\nnext\n")});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const auto written = packets();
  ASSERT_EQ(written.size(), 3u);
  ExpectOrderedAndApart(written);
  EXPECT_EQ(written[0].pts, 90000u);
  // Shown back to back up to the next cue, which starts where the repeat is
  // taken off, within one unit of its time; the repeat starts on a whole
  // millisecond.
  EXPECT_EQ(written[1].pts, written[0].pts + written[0].stopDelay * 1024u);
  EXPECT_EQ(written[1].pts % 90, 0u);
  EXPECT_EQ(written[2].pts, written[1].pts + written[1].stopDelay * 1024u);
  EXPECT_GT(written[2].pts + 1024u, 108090000u);
  EXPECT_LE(written[2].pts, 108090000u);
}

TEST_F(TimesTest, ShowsATooShortCueWhereThereIsRoomAndReportsTheOneLeftOut) {
  const auto outcome =
      RunConverter({"--quiet", write("film.srt",
                                     "1\n00:00:01,000 --> 00:00:01,005\nblink\n\n"
                                     "2\n00:00:02,000 --> 00:00:01,000\nbackwards\n\n"
                                     "3\n00:00:02,005 --> 00:00:03,000\ntoo close\n")});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err,
            "2 subtitles last less than 12 ms or end before they start; they are shown for the "
            "shortest time a DVD allows where the next subtitle starts late enough (first: "
            "subtitle 1).\n1 subtitle is left out because the next subtitle starts too soon for "
            "it to be seen: subtitle 2.\n");
  const auto written = packets();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[0].pts, 90000u);
  EXPECT_EQ(written[0].stopDelay, 1);
  EXPECT_EQ(written[1].pts, 180450u);
}

TEST_F(TimesTest, RefusesATimePastTheTimeStampsRangeAtLoad) {
  const auto outcome =
      RunConverter({"--quiet", write("film.srt",
                                     "1\n00:00:01,000 --> 00:00:02,000\nearly\n\n"
                                     "2\n13:15:22,000 --> 13:15:23,000\ntoo late\n")});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_EQ(outcome.err,
            "Subtitle 2, starting at 13:15:22,000: its start time cannot be written as a time "
            "stamp (0 to 47721858 ms).\n");
  EXPECT_FALSE(QFile::exists(dir.filePath(kStreamFileName)));
}

}  // namespace
}  // namespace tesmora
