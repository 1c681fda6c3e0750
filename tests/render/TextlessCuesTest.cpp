// Cues with nothing to draw once their markup is read, and the layout of a
// cue without a line.
#include "render/TextlessCues.h"

#include <gtest/gtest.h>

#include "render/CueLayout.h"
#include "render/NameTables.h"

namespace tesmora {
namespace {

const TextSource kSrt{MarkupDialect::Srt, false};
const TextSource kMicroDvd{MarkupDialect::MicroDvd, false};
const TextSource kLiteral{MarkupDialect::Literal, false};

TEST(TextlessCues, MarkupAndBlanksAloneDrawNothingTextOrLiteralMarkupDoes) {
  for (const std::vector<std::string>& lines : std::vector<std::vector<std::string>>{
           {}, {"{\\an8}"}, {"<i></i>"}, {"{\\an8}", "<b> </b>"}, {"{\\i1}{\\b1}"}, {"  "}}) {
    EXPECT_TRUE(HasNothingToDraw(lines, kSrt)) << lines.size();
  }
  EXPECT_TRUE(HasNothingToDraw({"{y:i}"}, kMicroDvd));
  EXPECT_TRUE(HasNothingToDraw({"{y:i}", "{c:$0000FF}"}, kMicroDvd));
  EXPECT_FALSE(HasNothingToDraw({"{\\an8}", "Top"}, kSrt));
  EXPECT_FALSE(HasNothingToDraw({"<i>.</i>"}, kSrt));
  EXPECT_FALSE(HasNothingToDraw({"{y:i}x"}, kMicroDvd));
  EXPECT_FALSE(HasNothingToDraw({"{\\an8}"}, kLiteral));
  // Symbol codes hold no markup.
  EXPECT_FALSE(HasNothingToDraw({"<i></i>"}, TextSource{MarkupDialect::Srt, false, true}));
}

TEST(TextlessCues, AreTakenOutInOrderAndTheFirstIsNamed) {
  std::vector<SubtitleEntry> cues{{1000, 500, {"One"}},
                                  {62340, 500, {"{\\an8}"}},
                                  {70000, 500, {"Two"}},
                                  {80000, 500, {"<i></i>"}}};
  EXPECT_EQ(LeaveOutTextlessCues(cues, kSrt),
            "2 subtitles have nothing to draw once their markup is read and were left out; the "
            "first is subtitle 2, starting at 00:01:02,340.");
  ASSERT_EQ(cues.size(), 2u);
  EXPECT_EQ(cues[0].line1(), "One");
  EXPECT_EQ(cues[1].line1(), "Two");
  EXPECT_EQ(LeaveOutTextlessCues(cues, kSrt), "");
  EXPECT_EQ(cues.size(), 2u);
}

// A cue placed at the top or in the middle with no line gets the band of the
// empty layout, not one spanning the whole int range.
TEST(TextlessCues, ACueWithoutALinePlacedAnywhereGetsTheEmptyLayoutsBand) {
  const SubtitleStyle style;
  const EncodeArea empty = PlaceCues({}, style, 576).area;
  for (const int alignment : {0, 2, 5, 8}) {
    PreparedCue cue;
    cue.alignment = alignment;
    const CuesLayout layout = PlaceCues(std::span<const PreparedCue>(&cue, 1), style, 576);
    EXPECT_EQ(layout.area, empty) << alignment;
  }
}

}  // namespace
}  // namespace tesmora
