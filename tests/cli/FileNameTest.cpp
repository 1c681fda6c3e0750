// Runs of the converter on folders whose names are not UTF-8: the bytes of
// the names reach the file system, the help file and the messages unchanged.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <utility>
#include <vector>

#include "files/FileNames.h"
#include "output/HelpFile.h"
#include "tests/cli/CliHarness.h"

namespace tesmora {
namespace {

const QByteArray kCue = "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello harbour.\r\n";

QByteArray ReadByName(const QByteArray& path) {
  const int descriptor = ::open(path.constData(), O_RDONLY);
  QByteArray bytes;
  char buffer[4096];
  for (ssize_t got = 0; descriptor >= 0 && (got = ::read(descriptor, buffer, sizeof buffer)) > 0;) {
    bytes.append(buffer, got);
  }
  if (descriptor >= 0) {
    ::close(descriptor);
  }
  return descriptor >= 0 ? bytes : QByteArray("missing");
}

void WriteByName(const QByteArray& path, const QByteArray& bytes) {
  const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::write(descriptor, bytes.constData(), bytes.size()), bytes.size());
  ::close(descriptor);
}

class cliFileNames : public ::testing::Test {
 protected:
  void SetUp() override {
    base = QFile::encodeName(dir.path());
    input = base +
            "/bad\xFF"
            "byte";
    output = base + "/out\xE9";
    ASSERT_EQ(::mkdir(input.constData(), 0700), 0);
    ASSERT_EQ(::mkdir(output.constData(), 0700), 0);
    WriteByName(input + "/film.srt", kCue);
  }
  // Qt lists no name that is not UTF-8, so it cannot remove these folders.
  void TearDown() override {
    for (const QByteArray& folder : {input, output}) {
      for (const char* name : {"/film.srt", "/Generated.sup", "/Tesmora_Help_File.txt"}) {
        ::unlink((folder + name).constData());
      }
      ::rmdir(folder.constData());
    }
  }
  static QByteArray HelpBytes(const QByteArray& folder) {
    QByteArray bytes;
    for (const std::string& line : HelpFileLines(HelpCase::NoIfo, folder.toStdString())) {
      bytes += QByteArray::fromStdString(line) + "\r\n";
    }
    return bytes;
  }

  QTemporaryDir dir;
  QByteArray base;
  QByteArray input;
  QByteArray output;
};

TEST_F(cliFileNames, WritesBesideASubtitleInAFolderNamedInAnotherEncoding) {
  const testing::CliOutcome outcome = testing::RunConverter({FileNameText(input + "/film.srt")});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_TRUE(ReadByName(input + "/Generated.sup").startsWith("SP"));
  EXPECT_EQ(ReadByName(input + "/Tesmora_Help_File.txt"), HelpBytes(input + "/"));
  EXPECT_NE(outcome.out.find((input + "/Generated.sup").toStdString()), std::string::npos);
}

TEST_F(cliFileNames, WritesIntoAnOutputFolderNamedInAnotherEncoding) {
  const testing::CliOutcome outcome = testing::RunConverter(
      {"--quiet", "--output-dir", FileNameText(output), FileNameText(input + "/film.srt")});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(ReadByName(output + "/Tesmora_Help_File.txt"), HelpBytes(output + "/"));
  EXPECT_EQ(ReadByName(input + "/Generated.sup"), QByteArray("missing"));

  const testing::CliOutcome missing =
      testing::RunConverter({FileNameText(input + "/gone\xFE.srt")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "Cannot open file " + (input + "/gone\xFE.srt").toStdString() + ".\n");
}

// Line breaks in names and values are printed escaped, so that every
// message and every listed file stays on its own line.
TEST(cliLineBreaksInNames, AreEscapedInTheClosingListAndInMessages) {
  QTemporaryDir dir;
  const std::string folder = QFile::encodeName(dir.path()).toStdString();
  const QString first = dir.filePath(QStringLiteral("fi\nlm.srt"));
  const QString second = dir.filePath(QStringLiteral("b\rc.srt"));
  testing::WriteBytes(first, kCue);
  testing::WriteBytes(second, kCue);
  const testing::CliOutcome outcome = testing::RunConverter({first, second});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const std::string listing = "Generated Files:\n" + folder + "/fi\\x0alm.sup\n" + folder +
                              "/b\\x0dc.sup\n" + folder + "/Tesmora_Help_File.txt\n";
  ASSERT_GE(outcome.out.size(), listing.size());
  EXPECT_EQ(outcome.out.substr(outcome.out.size() - listing.size()), listing);
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("fi\nlm.sup"))));

  const testing::CliOutcome missing =
      testing::RunConverter({dir.filePath(QStringLiteral("gone\r\n.srt"))});
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "Cannot open file " + folder + "/gone\\x0d\\x0a.srt.\n");
}

TEST(cliLineBreaksInNames, AreEscapedInUsageErrorsAndRefusedInTheOutputName) {
  const std::string hint =
      "Usage: tesmora-cli [options] SUBTITLE_FILE...\n"
      "Try 'tesmora-cli --help' for more information.\n";
  const std::vector<std::pair<QStringList, std::string>> cases = {
      {{"--language", "e\nn", "a.srt"},
       "--language must be a two-letter ISO 639-1 code such as en or de (got 'e\\x0an')"},
      {{"--name", "film\nGenerated.sup", "a.srt"},
       "--name must not hold control characters such as line breaks or tabs "
       "(got 'film\\x0aGenerated.sup')"},
      {{"--name", "a\rb", "a.srt"},
       "--name must not hold control characters such as line breaks or tabs (got 'a\\x0db')"},
      {{"--name", "a\tb", "a.srt"},
       "--name must not hold control characters such as line breaks or tabs (got 'a\tb')"},
      {{"--name", "a\u0085b", "a.srt"},
       "--name must not hold control characters such as line breaks or tabs (got 'a\\x85b')"},
      {{"--outline", "5\n", "a.srt"}, "--outline must be one of 2, 3, 4 (got '5\\x0a')"},
  };
  for (const auto& [arguments, reason] : cases) {
    const testing::CliOutcome outcome = testing::RunConverter(arguments);
    EXPECT_EQ(outcome.code, 2) << reason;
    EXPECT_EQ(outcome.err, "tesmora-cli: " + reason + "\n" + hint);
  }
}

}  // namespace
}  // namespace tesmora
