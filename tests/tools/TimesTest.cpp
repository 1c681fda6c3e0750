// The converter's time options and the order and timing of the written
// subpictures, read back from the stream.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "sup/HelpFile.h"
#include "tests/tools/CliHarness.h"
#include "tests/tools/SupStream.h"

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
  EXPECT_EQ(starts(), (std::vector<std::uint32_t>{90090, 180180}));  // 1001 and 2002 ms
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

}  // namespace
}  // namespace tesmora
