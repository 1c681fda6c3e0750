// tesmora-cli --check on PGS streams written to files: the summary of a
// clean stream, the list of a broken one, and the status of each case.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "cli/CliOptions.h"
#include "tests/cli/CliHarness.h"
#include "tests/pgs/StreamBuilder.h"

namespace tesmora::cli {
namespace {

using testing::RunConverter;
using testing::WriteBytes;

constexpr std::uint32_t kSecond = 90'000;

QByteArray AsBytes(const pgs::testing::Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

TEST(cliCheck, SummarisesACleanStreamInOneLineWithStatus0) {
  QTemporaryDir dir;
  const QString path = dir.filePath("clean.sup");
  pgs::testing::StreamBuilder stream;
  stream.Cue(5 * kSecond, 8 * kSecond, {860, 980, 200, 50});
  WriteBytes(path, AsBytes(stream.bytes()));
  const auto outcome = RunConverter({"--check", path});
  EXPECT_EQ(outcome.code, 0);
  EXPECT_EQ(outcome.out, path.toStdString() + ": 2 display sets in 1 epoch, no breaches\n");
  EXPECT_EQ(outcome.err, "");
}

TEST(cliCheck, ListsTheBreachesOfEachFileWithStatus1) {
  QTemporaryDir dir;
  const QString clean = dir.filePath("clean.sup");
  const QString cut = dir.filePath("cut.sup");
  pgs::testing::StreamBuilder stream;
  stream.Cue(5 * kSecond, 8 * kSecond, {860, 980, 200, 50});
  WriteBytes(clean, AsBytes(stream.bytes()));
  WriteBytes(cut, AsBytes(stream.bytes()).left(20));
  const auto outcome = RunConverter({cut, "--check", clean});
  EXPECT_EQ(outcome.code, 1);
  const std::string name = cut.toStdString();
  EXPECT_EQ(outcome.out, name +
                             ": display set 1 at 00:00:00.000: at byte 0: the stream ends inside "
                             "a segment; nothing after it is read\n" +
                             name + ": 1 breach in 0 display sets\n" + clean.toStdString() +
                             ": 2 display sets in 1 epoch, no breaches\n");
}

TEST(cliCheck, AnswersAnUnreadableFileWithStatus2) {
  QTemporaryDir dir;
  const QString path = dir.filePath("gone.sup");
  const auto outcome = RunConverter({"--check", path});
  EXPECT_EQ(outcome.code, 2);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err,
            "tesmora-cli: cannot read " + path.toStdString() + ": No such file or directory\n");
}

TEST(cliCheck, NeedsAFileAndRefusesThePaletteListing) {
  EXPECT_EQ(RunConverter({"--check"}).err,
            "tesmora-cli: missing FILE.sup to check\n"
            "Usage: tesmora-cli [options] SUBTITLE_FILE...\n"
            "Try 'tesmora-cli --help' for more information.\n");
  EXPECT_EQ(ParseCommandLine({"--check", "--palette", "a.sup"}).error,
            "--check and --palette cannot be used together");
  // Checking writes nothing, so a stream named like an output is fine.
  const Command command = ParseCommandLine({"--check", "Generated.sup"});
  EXPECT_EQ(command.action, CommandAction::Run) << command.error;
}

}  // namespace
}  // namespace tesmora::cli
