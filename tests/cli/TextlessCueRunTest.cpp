// Cues that hold markup and nothing to draw: left out of the run and
// reported, in SRT and MicroDVD files alike.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "tests/cli/CliHarness.h"
#include "tests/cli/SupStream.h"

namespace tesmora {
namespace {

using testing::ReadBytes;
using testing::ReadPackets;
using testing::RunConverter;
using testing::WriteBytes;

QByteArray SrtCue(int number, int second, const QByteArray& text) {
  const QByteArray at = "00:00:" + QByteArray::number(second).rightJustified(2, '0');
  return QByteArray::number(number) + "\r\n" + at + ",000 --> " + at + ",800\r\n" + text +
         "\r\n\r\n";
}

class cliTextlessCues : public ::testing::Test {
 protected:
  testing::CliOutcome run(const QString& name, const QByteArray& bytes, QStringList options = {}) {
    WriteBytes(dir.filePath(name), bytes);
    return RunConverter(QStringList{"--quiet"} + options + QStringList{dir.filePath(name)});
  }
  std::vector<std::uint32_t> stamps() const {
    std::vector<std::uint32_t> pts;
    for (const auto& packet : ReadPackets(ReadBytes(dir.filePath("Generated.sup")))) {
      pts.push_back(packet.pts);
    }
    return pts;
  }

  QTemporaryDir dir;
};

TEST_F(cliTextlessCues, CuesOfMarkupAloneAreLeftOutAndReportedByNumberAndStart) {
  const auto outcome =
      run("a.srt", SrtCue(1, 1, "Before") + SrtCue(2, 3, "{\\an8}") + SrtCue(3, 5, "<i></i>") +
                       SrtCue(4, 7, "{\\an8}<b> </b>") + SrtCue(5, 9, "After"));
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err,
            "3 subtitles have nothing to draw once their markup is read and were left out; the "
            "first is subtitle 2, starting at 00:00:03,000.\n");
  EXPECT_EQ(stamps(), (std::vector<std::uint32_t>{90000, 9 * 90000}));

  const auto one = run("b.srt", SrtCue(1, 1, "Before") + SrtCue(2, 3, "{\\an8}"));
  ASSERT_EQ(one.code, 0) << one.err;
  EXPECT_EQ(one.err,
            "Subtitle 2, starting at 00:00:03,000, has nothing to draw once its markup is read "
            "and was left out.\n");
  EXPECT_EQ(stamps(), (std::vector<std::uint32_t>{90000}));
}

TEST_F(cliTextlessCues, AMicroDvdCueOfCodesAloneIsLeftOutToo) {
  const auto outcome = run("a.sub", "{0}{25}{y:i}\n{50}{75}{y:b}Text\n", {"--fps", "25"});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err,
            "Subtitle 1, starting at 00:00:00,000, has nothing to draw once its markup is read "
            "and was left out.\n");
  EXPECT_EQ(stamps(), (std::vector<std::uint32_t>{2 * 90000}));
}

TEST_F(cliTextlessCues, MarkupReadAsTextIsKeptAndAFileOfNothingToDrawIsRefused) {
  const auto literal = run("a.srt", SrtCue(1, 1, "{\\an8}"), {"--no-markup"});
  ASSERT_EQ(literal.code, 0) << literal.err;
  EXPECT_EQ(literal.err, "");
  EXPECT_EQ(stamps(), (std::vector<std::uint32_t>{90000}));

  const auto refused = run("b.srt", SrtCue(1, 1, "{\\an8}") + SrtCue(2, 3, "<i></i>"));
  EXPECT_EQ(refused.code, 1);
  EXPECT_EQ(refused.err,
            "2 subtitles have nothing to draw once their markup is read and were left out; the "
            "first is subtitle 1, starting at 00:00:01,000.\n"
            "tesmora-cli: " +
                dir.filePath("b.srt").toStdString() +
                ": no subtitle found; nothing was written.\n");
}

}  // namespace
}  // namespace tesmora
