#include "render/CrowdedCues.h"

#include <gtest/gtest.h>

#include <string>

namespace tesmora {
namespace {

const std::string kAdvice = ". Please use a smaller font size or a lower offset.";
const std::string kOpening =
    "Cues shown at the same time do not all fit in the frame together, and their lines beyond "
    "its edge are cut off: ";

// Two-line cues, each starting `stepMs` after the one before and shown for
// `lengthMs`.
std::vector<SubtitleEntry> Staggered(int count, long long stepMs, long long lengthMs) {
  std::vector<SubtitleEntry> cues;
  for (int i = 0; i < count; ++i) {
    cues.push_back(
        {1000 + i * stepMs, lengthMs, {"Cue " + std::to_string(i + 1) + " says", "two lines."}});
  }
  return cues;
}

std::string NoteFor(const std::vector<SubtitleEntry>& cues, const SubtitleStyle& style,
                    int frameHeight = 576) {
  std::vector<CueTime> times;
  for (const SubtitleEntry& cue : cues) {
    times.push_back({cue.startMs, cue.startMs + cue.durationMs});
  }
  const Timeline timeline = PlanTimeline(times);
  return CrowdedCuesNote(cues, timeline.subpictures, TextSource{MarkupDialect::Srt, false}, style,
                         frameHeight);
}

// Five two-line cues at size 40 shown together stack past the top of the
// frame: every stretch in which they do not fit makes one group with all the
// cues it shows, told by number.
TEST(CrowdedCuesNote, NamesTheCuesStackedPastTheFrame) {
  SubtitleStyle style;
  style.size = 40;
  EXPECT_EQ(NoteFor(Staggered(5, 100, 10000), style), kOpening + "cues 1 to 5" + kAdvice);
  // Two of them fit together; nothing to say.
  EXPECT_EQ(NoteFor(Staggered(2, 100, 10000), style), "");
  style.size = 20;
  EXPECT_EQ(NoteFor(Staggered(5, 100, 10000), style), "");

  // Separate stretches are separate groups; a cue shown alone between them
  // ends a group.
  style.size = 40;
  std::vector<SubtitleEntry> twice = Staggered(5, 100, 3000);
  twice.push_back({8000, 1000, {"Alone"}});
  for (SubtitleEntry cue : Staggered(6, 100, 3000)) {
    cue.startMs += 9000;
    twice.push_back(cue);
  }
  EXPECT_EQ(NoteFor(twice, style), kOpening + "cues 1 to 5; cues 7 to 12" + kAdvice);
}

TEST(CrowdedCuesNote, NamesTenGroupsAndCountsTheRest) {
  SubtitleStyle style;
  style.size = 40;
  std::vector<SubtitleEntry> cues;
  for (int group = 0; group < 12; ++group) {
    for (SubtitleEntry cue : Staggered(5, 10, 1000)) {
      cue.startMs += group * 2000;
      cues.push_back(cue);
    }
  }
  std::string named;
  for (int group = 0; group < 10; ++group) {
    named += (group > 0 ? "; cues " : "cues ") + std::to_string(group * 5 + 1) + " to " +
             std::to_string(group * 5 + 5);
  }
  EXPECT_EQ(NoteFor(cues, style), kOpening + named + "; and 2 more such group(s)" + kAdvice);
}

TEST(CueNumbersText, CountsFromOneAndJoinsRuns) {
  EXPECT_EQ(CueNumbersText({0}), "cues 1");
  EXPECT_EQ(CueNumbersText({0, 1}), "cues 1 and 2");
  EXPECT_EQ(CueNumbersText({3, 4, 5, 8, 9, 11}), "cues 4 to 6, 9, 10 and 12");
  EXPECT_EQ(CueNumbersText({2, 7}), "cues 3 and 8");
}

}  // namespace
}  // namespace tesmora
