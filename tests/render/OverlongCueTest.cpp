#include "render/OverlongCue.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <thread>

namespace tesmora {
namespace {

constexpr char kTooWide[] =
    "A line that is far too wide for the frame in the default font and size, "
    "wider than seven hundred and twenty pixels";

std::vector<SubtitleEntry> Film(std::size_t count, const std::vector<std::size_t>& tooWide) {
  std::vector<SubtitleEntry> cues;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string text = "Cue " + std::to_string(i + 1) + " fits,";
    cues.push_back({static_cast<long long>(i) * 3000, 2000, {text, "and so does its line 2."}});
  }
  for (const std::size_t i : tooWide) {
    cues[i].lines = {"Short", kTooWide};
  }
  return cues;
}

// Whatever the threads meet first, the answer is the first cue in the list's
// order, as one thread finds it.
TEST(FirstOverlongCue, IsTheFirstInTheListForAnyNumberOfWorkers) {
  const SubtitleStyle style;
  const TextSource source{true, MarkupDialect::Srt, false};
  struct Case {
    std::size_t count;
    std::vector<std::size_t> tooWide;
    std::optional<std::size_t> first;
  };
  const Case cases[] = {
      {0, {}, std::nullopt},
      {1, {}, std::nullopt},
      {40, {}, std::nullopt},
      {1, {0}, 0},
      {40, {0, 39}, 0},
      {40, {39}, 39},
      {40, {17, 18, 5, 30}, 5},
      {40, {33, 34, 35, 36}, 33},
      {3, {2}, 2},
  };
  for (const Case& c : cases) {
    const std::vector<SubtitleEntry> cues = Film(c.count, c.tooWide);
    for (const int workers : {0, 1, 2, 3, 8, 64}) {
      EXPECT_EQ(FirstOverlongCue(cues, source, style, workers), c.first)
          << c.count << " cues, " << workers << " workers";
    }
  }
}

// A helper the system will not start leaves its share of the cues to the
// calling thread: the first too wide is still found.
TEST(FirstOverlongCue, MeasuresTheShareOfAThreadThatCannotStart) {
  const SubtitleStyle style;
  const TextSource source{true, MarkupDialect::Srt, false};
  for (const int allowed : {0, 1, 2}) {
    int asked = 0;
    const ThreadStarter refusing = [allowed, &asked](std::function<void()> work) {
      if (asked++ >= allowed) {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
      }
      return std::thread(std::move(work));
    };
    for (const std::size_t tooWide : {1u, 2u, 3u, 38u}) {
      asked = 0;
      EXPECT_EQ(FirstOverlongCue(Film(40, {tooWide}), source, style, 4, refusing), tooWide)
          << allowed << " started, cue " << tooWide;
    }
  }
}

// The cues are read as drawn: a wrapping source breaks the wide line, and
// a tagged line is measured by its text.
TEST(FirstOverlongCue, MeasuresAsTheDrawingReadsTheCues) {
  SubtitleStyle style;
  const std::vector<SubtitleEntry> cues = Film(4, {2});
  EXPECT_EQ(FirstOverlongCue(cues, TextSource{true, MarkupDialect::Srt, true}, style, 2),
            std::nullopt);
  std::vector<SubtitleEntry> tagged = Film(4, {});
  tagged[1].lines = {std::string("<i>") + kTooWide + "</i>"};
  EXPECT_EQ(FirstOverlongCue(tagged, TextSource{true, MarkupDialect::Srt, false}, style, 2), 1u);
}

}  // namespace
}  // namespace tesmora
