// A whole film to a Blu-ray stream: FFmpeg shows and clears each of 1,500
// cues within a frame of its time and MKVToolNix muxes the stream without a
// warning; and the stream is the same whatever the number of threads.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/cli/CliHarness.h"
#include "tests/cli/ExternalTool.h"

namespace tesmora::cli {
namespace {

using testing::ReadBytes;
using testing::RunConverter;
using testing::RunTool;
using testing::ToolResult;

struct FilmCue {
  long long startMs = 0;
  long long endMs = 0;
  std::string text;  // as the SRT gives it, lines joined by CRLF
};

std::string Timestamp(long long ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

// A line of about 35 characters from a fixed list of words; `seed` moves on
// with each word, so a film is the same at every run.
std::string FilmLine(std::uint32_t& seed) {
  static const char* const kWords[] = {"the",   "harbour", "fog",     "lifted", "slowly",
                                       "over",  "grey",    "water",   "while",  "boats",
                                       "gulls", "circled", "above",   "pier",   "sailors",
                                       "nets",  "storms",  "distant", "coasts", "lamp"};
  std::string line;
  for (;;) {
    seed = seed * 1664525u + 1013904223u;
    const std::string word = kWords[(seed >> 16) % std::size(kWords)];
    if (!line.empty() && line.size() + 1 + word.size() > 35) {
      break;
    }
    line += (line.empty() ? "" : " ") + word;
  }
  line[0] = static_cast<char>(line[0] - 'a' + 'A');
  return line;
}

QByteArray Srt(const std::vector<FilmCue>& cues) {
  std::string srt;
  for (std::size_t n = 0; n < cues.size(); ++n) {
    srt += std::to_string(n + 1) + "\r\n" + Timestamp(cues[n].startMs) + " --> " +
           Timestamp(cues[n].endMs) + "\r\n" + cues[n].text + "\r\n\r\n";
  }
  return QByteArray::fromStdString(srt);
}

// Two-line cues of 2.4 s, 3 s apart, as in the benchmark's film.
std::vector<FilmCue> TwoLineFilm(int count) {
  std::vector<FilmCue> cues;
  std::uint32_t seed = 1500;
  for (int n = 0; n < count; ++n) {
    const long long start = 1000 + n * 3000LL;
    const std::string first = FilmLine(seed);
    cues.push_back({start, start + 2400, first + ",\r\n" + FilmLine(seed) + "."});
  }
  return cues;
}

using BluRayFilm = testing::ConverterFolderTest;

TEST_F(BluRayFilm, ToolsShowAndClearEveryCueOfAFilmWithinAFrame) {
  const QString ffprobe = QStandardPaths::findExecutable("ffprobe");
  const QString mkvmerge = QStandardPaths::findExecutable("mkvmerge");
  if (ffprobe.isEmpty() || mkvmerge.isEmpty()) {
    GTEST_SKIP() << "ffprobe or mkvmerge is not installed";
  }
  const std::vector<FilmCue> cues = TwoLineFilm(1500);
  const QString film = write("film.srt", Srt(cues));
  const auto outcome = RunConverter({"--format", "pgs", "--quiet", "-j", "2", "--output-dir",
                                     dir.path(), "--name", "film", film});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  const QString sup = path("film.sup");

  const ToolResult probe =
      RunTool(ffprobe, {"-v", "error", "-show_frames", "-of", "compact=p=0", sup});
  ASSERT_EQ(probe.code, 0);
  EXPECT_TRUE(probe.err.isEmpty()) << probe.err.toStdString();
  const QList<QByteArray> frames = probe.out.trimmed().split('\n');
  ASSERT_EQ(frames.size(), static_cast<qsizetype>(cues.size() * 2));
  const double frameMs = 1001.0 / 24;
  int wrong = 0;
  for (std::size_t n = 0; n < cues.size() && wrong < 5; ++n) {
    // Each cue is one frame with its picture, then one with none.
    const auto at = [&](std::size_t i) {
      const QString text = QString::fromUtf8(frames[static_cast<qsizetype>(i)]);
      return std::pair(text.section("|pts=", 1).section('|', 0, 0).toLongLong() / 1000.0,
                       text.section("num_rects=", 1).section('|', 0, 0).toInt());
    };
    const auto [shownMs, shownRects] = at(n * 2);
    const auto [clearedMs, clearedRects] = at(n * 2 + 1);
    const bool right = shownRects == 1 && clearedRects == 0 &&
                       std::abs(shownMs - static_cast<double>(cues[n].startMs)) <= frameMs &&
                       std::abs(clearedMs - static_cast<double>(cues[n].endMs)) <= frameMs;
    if (!right) {
      ++wrong;
      ADD_FAILURE() << "cue " << n + 1 << ": shown at " << shownMs << " ms (" << shownRects
                    << " pictures), cleared at " << clearedMs << " ms (" << clearedRects << ")";
    }
  }

  const ToolResult mux = RunTool(mkvmerge, {"-o", path("film.mkv"), sup});
  EXPECT_EQ(mux.code, 0) << mux.out.toStdString();  // 1 is "done with warnings"
  EXPECT_FALSE(mux.out.contains("Warning")) << mux.out.toStdString();
}

// Cues that overlap or touch (one scene libass must draw in order), a cue
// that moves while shown and plain ones between: one thread and several
// write the same bytes.
TEST_F(BluRayFilm, AnyNumberOfThreadsWritesTheSameStream) {
  std::vector<FilmCue> cues = TwoLineFilm(60);
  cues[10].endMs = cues[11].startMs + 1000;  // overlaps the next
  cues[20].endMs = cues[21].startMs;         // touches the next
  cues[30].text = "{\\move(600,900,900,900)}Moving on";
  cues[40].text = "{\\an8}At the top";
  cues[40].startMs = cues[39].startMs + 500;  // shown with the one before
  const QString film = write("film.srt", Srt(cues));
  QByteArray first;
  for (const char* threads : {"1", "3"}) {
    const QString name = QStringLiteral("film-j") + threads;
    const auto outcome = RunConverter({"--format", "pgs", "--quiet", "-j", threads, "--output-dir",
                                       dir.path(), "--name", name, film});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    const QByteArray stream = ReadBytes(path(name + ".sup"));
    ASSERT_FALSE(stream.isEmpty());
    if (first.isEmpty()) {
      first = stream;
    } else {
      EXPECT_TRUE(stream == first) << "-j " << threads << " wrote other bytes";
    }
  }
}

}  // namespace
}  // namespace tesmora::cli
