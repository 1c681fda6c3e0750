#include "conversion/CueFrameDrawing.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "render/KeyFrameRenderer.h"
#include "sup/EncodeFields.h"

namespace tesmora {
namespace {

const std::vector<SubtitleEntry> kCues{
    {1000, 2000, {"<i>Where the river bends</i>", "the ferry waits."}},
    {2500, 2000, {"Nobody boards it after dark."}},
    {6000, 1000, {"{\\an8}Top of the frame"}},
};

CueFrameLook Look(int frameHeight) {
  CueFrameLook look;
  look.source = TextSource{MarkupDialect::Srt, false};
  look.outlineWidth = 2;
  look.colours = RoleColours{qRgb(16, 16, 16), qRgb(128, 128, 128), qRgb(235, 235, 235)};
  look.keys = RoleKeyColours{{235, 235, 235}, {16, 16, 16}, {128, 128, 128}};
  look.roles = RolePaletteIndices{3, 1, 2, 0};
  look.frameHeight = frameHeight;
  return look;
}

// Whether what a drawing left encodes, over the whole frame, to the bytes of
// the key frame drawn in the look's colours.
bool EncodesAsKeyFrame(const DrawnSubpicture& drawn, const KeyFrameRenderer& expected,
                       const CueFrameLook& look) {
  if (drawn.codeFrame == nullptr || drawn.codeFrame->height() != expected.frame().height()) {
    return false;
  }
  const EncodeArea whole{0, expected.frame().height()};
  const PixelData fromCodes = EncodeFields(*drawn.codeFrame, whole);
  const PixelData fromKeyFrame = EncodeFields(expected.frame(), whole, look.keys);
  return fromCodes.bytes == fromKeyFrame.bytes &&
         fromCodes.bottomFieldOffset == fromKeyFrame.bottomFieldOffset;
}

TEST(CueFrameDrawings, DrawTheSubpicturesCuesEarliestFirstWithTheRunsLook) {
  for (const int height : {576, 480}) {
    const CueFrameLook look = Look(height);
    const SubpictureDrawing draw = CueFrameDrawings(kCues, look)();
    for (const std::vector<int>& cues :
         {std::vector<int>{0}, std::vector<int>{0, 1}, std::vector<int>{1}, std::vector<int>{2}}) {
      const DrawnSubpicture drawn = draw(Subpicture{0, 0, cues});
      KeyFrameRenderer renderer;
      std::vector<CueToDraw> toDraw;
      for (const int cue : cues) {
        toDraw.push_back(CueToDraw{kCues[static_cast<std::size_t>(cue)].lines});
      }
      const EncodeArea area =
          renderer.render(std::span<const CueToDraw>(toDraw), look.source, look.style,
                          look.outlineWidth, look.colours, look.frameHeight);
      EXPECT_EQ(drawn.area, area) << height << " rows, " << cues.size() << " cues";
      EXPECT_TRUE(EncodesAsKeyFrame(drawn, renderer, look));
      EXPECT_EQ(drawn.roles.antialias, 3);
      EXPECT_EQ(drawn.roles.outline, 1);
      EXPECT_EQ(drawn.roles.text, 2);
    }
  }
}

// Workers run side by side: what one drawing left must not change when
// another draws.
TEST(CueFrameDrawings, EachDrawingKeepsAKeyFrameOfItsOwn) {
  const CueFrameLook look = Look(576);
  const DrawingFactory factory = CueFrameDrawings(kCues, look);
  const SubpictureDrawing first = factory();
  const SubpictureDrawing second = factory();
  const DrawnSubpicture fromFirst = first(Subpicture{0, 0, {0, 1}});
  const DrawnSubpicture fromSecond = second(Subpicture{0, 0, {2}});
  EXPECT_NE(fromFirst.codeFrame, fromSecond.codeFrame);

  const KeyFrameRenderer expectedFirst = [&] {
    KeyFrameRenderer renderer;
    std::vector<CueToDraw> drawn{CueToDraw{kCues[0].lines}, CueToDraw{kCues[1].lines}};
    renderer.render(std::span<const CueToDraw>(drawn), look.source, look.style, look.outlineWidth,
                    look.colours, look.frameHeight);
    return renderer;
  }();
  EXPECT_TRUE(EncodesAsKeyFrame(fromFirst, expectedFirst, look));
}

TEST(CueFrameDrawings, ACueNumberPastTheLoadedCuesIsAnErrorNotARead) {
  const SubpictureDrawing draw = CueFrameDrawings(kCues, Look(576))();
  EXPECT_THROW(draw(Subpicture{0, 0, {3}}), std::out_of_range);
}

}  // namespace
}  // namespace tesmora
