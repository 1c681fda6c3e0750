// Whole converter runs on one thread and on several: the files must be the
// same bytes, and a refusal the same message with nothing written.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <map>

#include "tests/cli/CliHarness.h"

namespace tesmora {
namespace {

using testing::CliOutcome;
using testing::ReadBytes;
using testing::RunConverter;
using testing::WriteBytes;

const QStringList kWritten = {"Generated.idx", "Generated.rgb", "Generated.sub", "Generated.sup",
                              "Tesmora_Help_File.txt"};

QByteArray Time(int ms) {
  return QString::asprintf("%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                           ms % 1000)
      .toLatin1();
}

QByteArray Cue(int number, int startMs, int endMs, const QByteArray& text) {
  return QByteArray::number(number) + "\n" + Time(startMs) + " --> " + Time(endMs) + "\n" + text +
         "\n\n";
}

// 240 cues: every fourth overlaps the next, every third holds italic and
// bold runs, every sixth a third line, every tenth is placed at the top.
QByteArray StyledFilm() {
  QByteArray film;
  for (int n = 1; n <= 240; ++n) {
    const int start = n * 1500;
    const int end = start + (n % 4 == 0 ? 2300 : 1200);
    QByteArray text = "Line " + QByteArray::number(n) + " of the harbour, said the pilot.\n" +
                      (n % 3 == 0 ? "<i>quietly</i> and <b>then loud</b> again" : "and the tide");
    if (n % 6 == 0) {
      text += "\nA third line for the long ones";
    }
    if (n % 10 == 0) {
      text = "{\\an8}" + text;
    }
    film += Cue(n, start, end, text);
  }
  return film;
}

// Plain cues with two blocks of 14 dense cues shown together, each too
// large for one subpicture: the first block starts at cue 21.
QByteArray FilmWithOversizedSubpictures() {
  const QByteArray dense = QByteArray("|#").repeated(12);
  QByteArray film;
  int number = 1;
  for (int n = 0; n < 60; ++n) {
    const int start = 1000 + n * 2000;
    if (n == 20 || n == 45) {
      for (int k = 0; k < 14; ++k) {
        film += Cue(number++, start, start + 1500, dense + "\n" + dense);
      }
    } else {
      film += Cue(number++, start, start + 1500, "A plain line\nand another");
    }
  }
  return film;
}

class ThreadCountTest : public ::testing::Test {
 protected:
  // Converts `subtitles` into every format on `jobs` threads, into a folder
  // of its own; returns what the run printed.
  CliOutcome convert(const QString& subtitles, const QStringList& options, int jobs) {
    const QString out = root.filePath(QStringLiteral("j%1-%2").arg(jobs).arg(++runs));
    QDir().mkpath(out);
    folders[jobs] = out;
    return RunConverter(QStringList{"--quiet", "--format", "all", "--output-dir", out, "-j",
                                    QString::number(jobs)} +
                        options + QStringList{subtitles});
  }
  QStringList written(int jobs) const {
    return QDir(folders.at(jobs)).entryList(QDir::Files, QDir::Name);
  }
  QByteArray file(int jobs, const QString& name) const {
    return ReadBytes(QDir(folders.at(jobs)).filePath(name));
  }
  // Runs on 1 and on 4 threads and expects the same files, byte for byte.
  void expectSameFiles(const QString& subtitles, const QStringList& options = {}) {
    const CliOutcome one = convert(subtitles, options, 1);
    const CliOutcome four = convert(subtitles, options, 4);
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(four.code, 0) << four.err;
    EXPECT_EQ(four.err, one.err);
    ASSERT_EQ(written(1), kWritten);
    ASSERT_EQ(written(4), kWritten);
    for (const char* name : {"Generated.sup", "Generated.sub", "Generated.idx"}) {
      EXPECT_FALSE(file(1, name).isEmpty()) << name;
      EXPECT_TRUE(file(4, name) == file(1, name)) << name;
    }
  }

  QTemporaryDir root;
  std::map<int, QString> folders;
  int runs = 0;
};

// Named so that `ctest -R cli` picks out the converter's suites.
using cliThreads = ThreadCountTest;

TEST_F(cliThreads, WritesTheSameBytesOfTheExamplesOnOneThreadAndOnFour) {
  expectSameFiles(QStringLiteral(TESMORA_EXAMPLES_DIR "/harbour.srt"));
  expectSameFiles(QStringLiteral(TESMORA_EXAMPLES_DIR "/harbour.srt"),
                  {"--size", "26", "--outline", "4", "--forced", "--standard", "ntsc"});
  expectSameFiles(QStringLiteral(TESMORA_EXAMPLES_DIR "/harbour.sub"));
}

TEST_F(cliThreads, WritesTheSameBytesOfAFilmWithOverlapsAndStyledCues) {
  const QString film = root.filePath("film.srt");
  WriteBytes(film, StyledFilm());
  expectSameFiles(film);
  // The overlaps became subpictures of their own: more units than cues.
  EXPECT_GT(file(1, "Generated.idx").count("timestamp:"), 240);
}

TEST_F(cliThreads, RefusesTheFirstOversizedSubpictureAlikeAndWritesNothing) {
  const QString film = root.filePath("dense.srt");
  WriteBytes(film, FilmWithOversizedSubpictures());
  const CliOutcome one = convert(film, {"--size", "50"}, 1);
  const CliOutcome four = convert(film, {"--size", "50"}, 4);
  EXPECT_EQ(one.code, 1);
  EXPECT_EQ(four.code, 1);
  const std::string refusal =
      "Subtitle 21, starting at 00:00:41,000: its subpicture would take 55410 bytes, more than "
      "the DVD limit of 53220 bytes; choose a smaller font size or outline width.\n";
  EXPECT_EQ(one.err.substr(one.err.size() - refusal.size()), refusal) << one.err;
  EXPECT_EQ(four.err, one.err);
  EXPECT_EQ(written(1), QStringList{});
  EXPECT_EQ(written(4), QStringList{});
}

}  // namespace
}  // namespace tesmora
