// The built converter as separate processes: stopped by a signal part-way
// through, and two runs writing into one folder at the same time.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "tests/cli/CliHarness.h"
#include "tests/cli/SupStream.h"

namespace tesmora {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

// A film of `count` two-line cues, one a second.
QByteArray Film(int count) {
  QByteArray srt;
  for (int i = 0; i < count; ++i) {
    const QByteArray start = QByteArray::number(i / 3600).rightJustified(2, '0') + ":" +
                             QByteArray::number(i / 60 % 60).rightJustified(2, '0') + ":" +
                             QByteArray::number(i % 60).rightJustified(2, '0');
    srt += QByteArray::number(i + 1) + "\n" + start + ",000 --> " + start +
           ",800\nThe harbour fog lifted slowly over\ngrey water while boats rocked " +
           QByteArray::number(i) + "\n\n";
  }
  return srt;
}

class cliProcesses : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir.filePath(name); }
  QStringList entries() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  void start(QProcess& run, const QStringList& arguments) const {
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.start(QStringLiteral(TESMORA_CLI_BINARY), QStringList{"--quiet"} + arguments);
    ASSERT_TRUE(run.waitForStarted());
  }
  // Waits until a file appears in the folder that was not there before.
  bool waitForNewEntry(const QStringList& before) const {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
      if (entries().size() > before.size()) {
        return true;
      }
      QThread::msleep(2);
    }
    return false;
  }

  QTemporaryDir dir;
};

TEST_F(cliProcesses, ARunStoppedBySigtermLeavesNoFileOfItsOwn) {
  WriteBytes(path("Generated.sup"), "an earlier stream");
  // Long enough to be still running when the signal comes: 1,500 cues take
  // less than the 100 ms the test waits on an idle machine.
  WriteBytes(path("film.srt"), Film(30000));
  const QStringList before = entries();
  QProcess run;
  start(run, {path("film.srt")});
  ASSERT_TRUE(waitForNewEntry(before));
  QThread::msleep(100);
  ::kill(static_cast<pid_t>(run.processId()), SIGTERM);
  ASSERT_TRUE(run.waitForFinished(20000));
  EXPECT_EQ(run.exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(run.exitCode(), SIGTERM);
  EXPECT_EQ(entries(), before);
  EXPECT_EQ(ReadBytes(path("Generated.sup")), "an earlier stream");
}

TEST_F(cliProcesses, TwoRunsIntoOneFolderEachWriteACompleteStream) {
  WriteBytes(path("film.srt"), Film(800));
  ASSERT_TRUE(QDir(dir.path()).mkdir("alone"));
  const QStringList pal{path("film.srt")};
  const QStringList ntsc{"--standard", "ntsc", path("film.srt")};
  QByteArray expected[2];
  for (int i = 0; i < 2; ++i) {
    QProcess alone;
    start(alone, QStringList{"--output-dir", path("alone")} + (i == 0 ? pal : ntsc));
    ASSERT_TRUE(alone.waitForFinished(60000));
    ASSERT_EQ(alone.exitCode(), 0);
    expected[i] = ReadBytes(path("alone/Generated.sup"));
  }
  ASSERT_NE(expected[0], expected[1]);
  EXPECT_EQ(testing::ReadPackets(expected[0]).size(), 800u);

  const QStringList before = entries();
  QProcess first;
  QProcess second;
  start(first, pal);
  ASSERT_TRUE(waitForNewEntry(before));
  start(second, ntsc);
  ASSERT_TRUE(first.waitForFinished(60000));
  ASSERT_TRUE(second.waitForFinished(60000));
  EXPECT_EQ(first.exitCode(), 0);
  EXPECT_EQ(second.exitCode(), 0);
  const QByteArray stream = ReadBytes(path("Generated.sup"));
  EXPECT_TRUE(stream == expected[0] || stream == expected[1]) << stream.size();
  const QStringList after = before + QStringList{"Generated.sup", "Tesmora_Help_File.txt"};
  const QStringList names = entries();
  EXPECT_EQ(QSet<QString>(names.begin(), names.end()), QSet<QString>(after.begin(), after.end()));
}

TEST_F(cliProcesses, TwoRunsWithEveryFormatLeaveTheWholeSetOfOneRun) {
  WriteBytes(path("film.srt"), Film(120));
  ASSERT_TRUE(QDir(dir.path()).mkdir("alone"));
  // The help file names the folder, so it differs from the one written alone.
  const QStringList names{"Generated.sup", "Generated.idx", "Generated.sub", "Generated.rgb"};
  const auto set = [&names](const QString& folder) {
    QByteArrayList files;
    for (const QString& name : names) {
      files << ReadBytes(folder + "/" + name);
    }
    return files;
  };
  const QStringList all{"--format", "all"};
  const QStringList pal = all + QStringList{path("film.srt")};
  const QStringList ntsc = all + QStringList{"--standard", "ntsc", path("film.srt")};
  QByteArrayList expected[2];
  for (int i = 0; i < 2; ++i) {
    QProcess alone;
    start(alone, QStringList{"--output-dir", path("alone")} + (i == 0 ? pal : ntsc));
    ASSERT_TRUE(alone.waitForFinished(60000));
    ASSERT_EQ(alone.exitCode(), 0);
    expected[i] = set(path("alone"));
  }
  ASSERT_NE(expected[0][0], expected[1][0]);
  ASSERT_NE(expected[0][1], expected[1][1]);

  for (int attempt = 0; attempt < 10; ++attempt) {
    // Started together, so that they finish at about the same time.
    QProcess first;
    QProcess second;
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(TESMORA_CLI_BINARY), QStringList{"--quiet"} + pal);
    second.start(QStringLiteral(TESMORA_CLI_BINARY), QStringList{"--quiet"} + ntsc);
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    const QByteArrayList files = set(dir.path());
    EXPECT_TRUE(files == expected[0] || files == expected[1]) << "attempt " << attempt;
  }
  const QStringList left = entries();
  EXPECT_EQ(QSet<QString>(left.begin(), left.end()),
            QSet<QString>({"alone", "film.srt", "Generated.sup", "Generated.idx", "Generated.sub",
                           "Generated.rgb", "Tesmora_Help_File.txt"}));
}

}  // namespace
}  // namespace tesmora
