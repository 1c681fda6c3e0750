// An ASS file's own events drawn by libass: the regions of one style marked
// forced apart from the others, and long changes drawn only at either end.
#include <gtest/gtest.h>

#include "hdrender/AssRenderer.h"
#include "hdrender/ForcedRegions.h"
#include "hdrender/HdPictures.h"

namespace tesmora {
namespace {

const std::string kHeader =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n\n"
    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, Bold, Alignment\n"
    "Style: Default,Liberation Sans,60,&H00FFFFFF,0,2\n"
    "Style: Sign,Liberation Sans,60,&H0000FFFF,1,8\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Text\n";

RgbaRegion Box(int x, int y, int width, int height) {
  return {x, y, width, height, {}};
}

TEST(MarkForcedRegions, MarksTheRegionsTheForcedEventsDrawAndNamesAMixedOne) {
  const std::vector<RgbaRegion> frame{Box(100, 50, 400, 60), Box(300, 900, 800, 120)};
  // The forced event is the one at the top.
  ForcedMarks marks = MarkForcedRegions(frame, {Box(100, 50, 400, 60)});
  EXPECT_EQ(marks.forced, (std::vector<bool>{true, false}));
  EXPECT_FALSE(marks.mixed);
  // Two forced events the frame joined into one region: still not mixed.
  marks = MarkForcedRegions({Box(300, 880, 800, 140)},
                            {Box(300, 880, 800, 60), Box(350, 950, 600, 70)});
  EXPECT_EQ(marks.forced, (std::vector<bool>{true}));
  EXPECT_FALSE(marks.mixed);
  // A forced line joined to another's line below it: forced, and mixed.
  marks = MarkForcedRegions({Box(300, 840, 800, 180)}, {Box(300, 840, 800, 60)});
  EXPECT_EQ(marks.forced, (std::vector<bool>{true}));
  EXPECT_TRUE(marks.mixed);
  // No forced text on the frame.
  EXPECT_EQ(MarkForcedRegions(frame, {}).forced, (std::vector<bool>{false, false}));
}

PictureReport DrawFile(const std::string& script, const std::string& forcedStyle,
                       std::vector<TimedPicture>& pictures) {
  const HdTarget target = *HdTargetForLines(1080);
  AssRenderer renderer(script, target);
  return RenderAssFilePictures(renderer, script, forcedStyle, target,
                               [&](TimedPicture&& p) { pictures.push_back(std::move(p)); });
}

TEST(RenderAssFilePictures, MarksTheRegionsOfTheForcedStyleOneByOne) {
  const std::string script = kHeader +
                             "Dialogue: 0,0:00:01.00,0:00:04.00,Sign,A sign at the top\n"
                             "Dialogue: 0,0:00:02.00,0:00:03.00,Default,Spoken below\n"
                             "Dialogue: 0,0:00:05.00,0:00:06.00,Default,Spoken alone\n";
  std::vector<TimedPicture> pictures;
  const PictureReport report = DrawFile(script, "Sign", pictures);
  EXPECT_TRUE(report.mixedForcedEvents.empty());
  ASSERT_EQ(pictures.size(), 4u);
  // The sign alone: all forced.
  EXPECT_EQ(pictures[0].forced, (std::vector<bool>{true}));
  // The sign at the top and the line below: the top region alone.
  ASSERT_EQ(pictures[1].regions.size(), 2u);
  EXPECT_LT(pictures[1].regions[0].y, pictures[1].regions[1].y);
  EXPECT_EQ(pictures[1].forced, (std::vector<bool>{true, false}));
  EXPECT_EQ(pictures[2].forced, (std::vector<bool>{true}));
  EXPECT_TRUE(pictures[3].forced.empty());

  // Without a forced style nothing is marked.
  pictures.clear();
  DrawFile(script, "", pictures);
  for (const TimedPicture& picture : pictures) {
    EXPECT_TRUE(picture.forced.empty());
  }
}

TEST(RenderAssFilePictures, NamesAForcedEventJoinedWithAnotherInOneRegion) {
  // Two bottom events stacked by libass stay two regions; with a third at
  // the top, the frame's two regions join the two nearest, the bottom ones.
  const std::string twoLines = kHeader +
                               "Dialogue: 0,0:00:01.00,0:00:03.00,Sign,{\\an2}Forced words\n"
                               "Dialogue: 0,0:00:01.00,0:00:03.00,Default,Spoken words\n";
  std::vector<TimedPicture> pictures;
  PictureReport report = DrawFile(twoLines, "Sign", pictures);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].forced, (std::vector<bool>{false, true}));
  EXPECT_TRUE(report.mixedForcedEvents.empty());

  pictures.clear();
  report = DrawFile(twoLines + "Dialogue: 0,0:00:01.00,0:00:03.00,Default,{\\an8}At the top\n",
                    "Sign", pictures);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].forced, (std::vector<bool>{false, true}));
  EXPECT_EQ(report.mixedForcedEvents, (std::vector<int>{0}));
}

TEST(RenderAssFilePictures, DrawsATenMinuteMoveOnlyAtEitherEndAndSaysSo) {
  const std::string script =
      kHeader + "Dialogue: 0,0:00:01.00,0:10:01.00,Default,{\\move(100,900,1800,900)}Slowly\n";
  std::vector<TimedPicture> pictures;
  const PictureReport report = DrawFile(script, "", pictures);
  // At most a step a frame over the two drawn minutes' ends, 23.976 a second.
  EXPECT_LE(pictures.size(), static_cast<std::size_t>(2 * 30 * 24 + 2));
  EXPECT_GT(pictures.size(), 100u);
  ASSERT_EQ(report.heldStill.size(), 1u);
  const HeldChange& held = report.heldStill[0];
  EXPECT_EQ(held.event, 0);
  EXPECT_NEAR(held.fromMs, 31'000, 50);
  EXPECT_NEAR(held.toMs, 571'000, 50);
  // One picture spans the held stretch; the others are steps of one frame.
  const auto spanning = std::find_if(pictures.begin(), pictures.end(), [&](const TimedPicture& p) {
    return p.startMs < held.fromMs + 100 && p.endMs >= held.toMs;
  });
  ASSERT_NE(spanning, pictures.end());
  // Every picture of the move stays within the reach they share.
  const FrameBox reach = pictures.front().reach;
  for (const TimedPicture& picture : pictures) {
    EXPECT_EQ(picture.reach, reach);
    for (const RgbaRegion& region : picture.regions) {
      EXPECT_EQ(Joined(reach, {region.x, region.y, region.width, region.height}), reach);
    }
  }
  EXPECT_GT(reach.width, 1600);
  EXPECT_LT(reach.height, 200);
  EXPECT_EQ(pictures.front().changeOf, -1);
  EXPECT_EQ(pictures.back().changeOf, 0);
  EXPECT_EQ(pictures.back().endMs, 601'000);
}

TEST(AssRenderer, NamesTheStylesOfTheScriptAndOfEachEvent) {
  const AssRenderer renderer(kHeader + "Dialogue: 0,0:00:01.00,0:00:02.00,Sign,Text\n",
                             *HdTargetForLines(576));
  const std::vector<std::string> styles = renderer.styleNames();
  EXPECT_NE(std::find(styles.begin(), styles.end(), "Default"), styles.end());
  EXPECT_NE(std::find(styles.begin(), styles.end(), "Sign"), styles.end());
  EXPECT_EQ(styles.size(), 2u);
  EXPECT_EQ(renderer.eventStyle(0), "Sign");
}

}  // namespace
}  // namespace tesmora
