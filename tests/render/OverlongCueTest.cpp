#include "render/OverlongCue.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <thread>

#include "render/TextlessCues.h"

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
TEST(FirstUnfitCue, IsTheFirstInTheListForAnyNumberOfWorkers) {
  const SubtitleStyle style;
  const TextSource source{MarkupDialect::Srt, false};
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
      const std::optional<UnfitCue> unfit = FirstUnfitCue(cues, source, style, 576, workers);
      EXPECT_EQ(unfit ? std::optional(unfit->position) : std::nullopt, c.first)
          << c.count << " cues, " << workers << " workers";
    }
  }
}

// A helper the system will not start leaves its share of the cues to the
// calling thread: the first too wide is still found.
TEST(FirstUnfitCue, MeasuresTheShareOfAThreadThatCannotStart) {
  const SubtitleStyle style;
  const TextSource source{MarkupDialect::Srt, false};
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
      EXPECT_EQ(FirstUnfitCue(Film(40, {tooWide}), source, style, 576, 4, refusing),
                (UnfitCue{tooWide, CueFault::TooWide}))
          << allowed << " started, cue " << tooWide;
    }
  }
}

// The cues are read as drawn: a wrapping source breaks the wide line, and
// a tagged line is measured by its text.
TEST(FirstUnfitCue, MeasuresAsTheDrawingReadsTheCues) {
  SubtitleStyle style;
  const std::vector<SubtitleEntry> cues = Film(4, {2});
  EXPECT_EQ(FirstUnfitCue(cues, TextSource{MarkupDialect::Srt, true}, style, 576, 2), std::nullopt);
  std::vector<SubtitleEntry> tagged = Film(4, {});
  tagged[1].lines = {std::string("<i>") + kTooWide + "</i>"};
  EXPECT_EQ(FirstUnfitCue(tagged, TextSource{MarkupDialect::Srt, false}, style, 576, 2),
            (UnfitCue{1, CueFault::TooWide}));
}

// A cue in a font of its own (an ASS style) is measured in that font, as
// it is drawn: a big font makes a short line too wide, a small one lets a
// line through that the window's font could not hold.
TEST(FirstUnfitCue, MeasuresACueInItsOwnFont) {
  const SubtitleStyle style;
  const TextSource source{MarkupDialect::Srt, false};
  std::vector<SubtitleEntry> big = Film(3, {});
  big[1].look.font.height = 0.25;  // a quarter of the frame's height
  EXPECT_EQ(FirstUnfitCue(big, source, style, 576, 2), (UnfitCue{1, CueFault::TooWide}));
  std::vector<SubtitleEntry> small = Film(3, {2});
  EXPECT_EQ(FirstUnfitCue(small, source, style, 576, 2), (UnfitCue{2, CueFault::TooWide}));
  small[2].look.font.height = 0.02;
  EXPECT_EQ(FirstUnfitCue(small, source, style, 576, 2), std::nullopt);
}

std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines;
  for (int i = 1; i <= count; ++i) {
    lines.push_back("Line " + std::to_string(i));
  }
  return lines;
}

// A cue whose lines, placed as the drawing places them, run past the top or
// the bottom of the frame cannot be drawn whole: too tall, for the frame of
// the chosen standard, the style's size and offset. A line too wide is told
// first.
TEST(FirstUnfitCue, FindsCuesWithMoreLinesThanTheFrameHolds) {
  const TextSource source{MarkupDialect::Srt, false};
  SubtitleStyle style;
  const auto first = [&](const std::vector<std::string>& lines, int frameHeight) {
    std::vector<SubtitleEntry> cues = Film(3, {});
    cues[1].lines = lines;
    return FirstUnfitCue(cues, source, style, frameHeight, 2);
  };
  const UnfitCue tall{1, CueFault::TooTall};
  EXPECT_EQ(first(Lines(30), 576), tall);
  std::vector<std::string> wideAndTall = Lines(30);
  wideAndTall[29] = kTooWide;
  EXPECT_EQ(first(wideAndTall, 576), (UnfitCue{1, CueFault::TooWide}));

  // Four lines at size 50 stand high up the frame with a large offset.
  style.size = 50;
  EXPECT_EQ(first(Lines(4), 576), std::nullopt);
  style.offset = 400;
  EXPECT_EQ(first(Lines(4), 576), tall);
  EXPECT_EQ(first(Lines(1), 576), std::nullopt);

  // A block placed at the top runs off the bottom instead; one that fits the
  // PAL frame can be too tall for NTSC.
  style = SubtitleStyle{};
  std::vector<std::string> top = Lines(14);
  top[0] = "{\\an8}" + top[0];
  EXPECT_EQ(first(top, 576), std::nullopt);
  EXPECT_EQ(first(top, 480), tall);
  std::vector<std::string> longer = Lines(19);
  longer[0] = "{\\an8}" + longer[0];
  EXPECT_EQ(first(longer, 576), tall);
}

// Wrapping a long cue can make it too tall: the lines counted are those
// drawn, and a line needing more than any frame holds is too tall at once.
TEST(FirstUnfitCue, CountsTheLinesOfAWrappedCue) {
  std::string words;
  for (int i = 0; i < 400; ++i) {
    words += (i > 0 ? " " : "") + std::string("word");
  }
  std::vector<SubtitleEntry> cues = Film(2, {});
  cues[1].lines = {words};
  const SubtitleStyle style;
  EXPECT_EQ(FirstUnfitCue(cues, TextSource{MarkupDialect::Srt, false}, style, 576, 1),
            (UnfitCue{1, CueFault::TooWide}));
  EXPECT_EQ(FirstUnfitCue(cues, TextSource{MarkupDialect::Srt, true}, style, 576, 1),
            (UnfitCue{1, CueFault::TooTall}));
  const PreparedCue wrapped =
      PrepareCue(cues[1].lines, TextSource{MarkupDialect::Srt, true}, style);
  EXPECT_EQ(wrapped.wrappedPast, 36u);
  EXPECT_EQ(wrapped.lines.size(), 1u);
  cues[1].lines = {words.substr(0, 200 * 5 - 1)};
  const PreparedCue shorter =
      PrepareCue(cues[1].lines, TextSource{MarkupDialect::Srt, true}, style);
  EXPECT_EQ(shorter.wrappedPast, 0u);
  EXPECT_EQ(shorter.lines.size(), 23u);
  EXPECT_EQ(FirstUnfitCue(cues, TextSource{MarkupDialect::Srt, true}, style, 576, 1),
            (UnfitCue{1, CueFault::TooTall}));
}

// A line longer than any frame shows, however much of it is markup, is
// refused without its markup being read: too wide, or too tall when
// wrapped; and it is never left out as having nothing to draw.
TEST(FirstUnfitCue, RefusesALineLongerThanAnyFrameShowsWithoutReadingItsMarkup) {
  std::string tags;
  while (tags.size() <= static_cast<std::size_t>(kLongestReadLine)) {
    tags += "<i>a</i> ";
  }
  std::vector<SubtitleEntry> cues = Film(2, {});
  cues[0].lines = {tags};
  const SubtitleStyle style;
  EXPECT_EQ(FirstUnfitCue(cues, TextSource{MarkupDialect::Srt, false}, style, 576, 1),
            (UnfitCue{0, CueFault::TooWide}));
  EXPECT_EQ(FirstUnfitCue(cues, TextSource{MarkupDialect::Srt, true}, style, 576, 1),
            (UnfitCue{0, CueFault::TooTall}));
  const PreparedCue read = ReadCueText(cues[0].lines, TextSource{MarkupDialect::Srt, false}, style);
  ASSERT_EQ(read.lines.size(), 1u);
  EXPECT_EQ(read.lines[0].runs.size(), 1u);
  EXPECT_FALSE(HasNothingToDraw({std::string(kLongestReadLine + 1, ' ')},
                                TextSource{MarkupDialect::Srt, false}));
}

}  // namespace
}  // namespace tesmora
