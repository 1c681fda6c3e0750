// Cues drawn by libass: where they land on each target, what markup changes,
// and the stretches of time over which each picture holds.
#include "hdrender/HdPictures.h"

#include <gtest/gtest.h>

#include "tests/hdrender/RegionsOnFrame.h"

namespace tesmora {
namespace {

// A font every test machine has (scripts/install-deps.sh).
HdStyle TestStyle() {
  HdStyle style;
  style.fontName = QStringLiteral("Liberation Sans");
  return style;
}

StablePictures Draw(std::initializer_list<HdCue> cues, const HdTarget& target,
                    MarkupDialect dialect = MarkupDialect::Srt,
                    const HdStyle& style = TestStyle()) {
  const std::vector<HdCue> list(cues);
  return RenderCuePictures(list, dialect, style, target);
}

// The regions of the one picture of a single cue.
std::vector<RgbaRegion> OnlyPicture(const QString& text, const HdTarget& target,
                                    MarkupDialect dialect = MarkupDialect::Srt,
                                    const HdStyle& style = TestStyle()) {
  const StablePictures drawn = Draw({{1000, 3000, {text}}}, target, dialect, style);
  EXPECT_EQ(drawn.pictures.size(), 1u);
  return drawn.pictures.empty() ? std::vector<RgbaRegion>() : drawn.pictures[0].regions;
}

TEST(RenderCuePictures, PlacesAPlainCueBottomCentreInsideEveryFrame) {
  for (const int lines : {1080, 720, 576, 480}) {
    SCOPED_TRACE(lines);
    const HdTarget target = *HdTargetForLines(lines);
    const StablePictures drawn = Draw(
        {{1000, 3000, {QStringLiteral("Where are you going?"), QStringLiteral("Home.")}}}, target);
    ASSERT_EQ(drawn.pictures.size(), 1u);
    const TimedPicture& picture = drawn.pictures[0];
    EXPECT_EQ(picture.startMs, 1000);
    EXPECT_EQ(picture.endMs, 3000);
    ASSERT_EQ(picture.regions.size(), 1u);
    const QRect box = BoundsOf(picture.regions);
    EXPECT_TRUE(QRect(0, 0, target.width, target.height).contains(box)) << box.x() << box.y();
    // Centred up to the glyphs' own side bearings.
    EXPECT_LE(std::abs(box.center().x() - target.width / 2), target.width / 100);
    EXPECT_GT(box.top(), target.height * 3 / 4);
    // Two lines of a 29-pixel em at 576 lines, grown with the frame.
    EXPECT_GT(box.height(), target.height * 2 * 29 / 576);
    EXPECT_LT(box.height(), target.height * 3 * 29 / 576);
  }
}

TEST(RenderCuePictures, PutsAnAn8CueAtTheTopAndKeepsTwoCuesShownTogetherApart) {
  const HdTarget target = *HdTargetForLines(1080);
  const std::vector<RgbaRegion> top =
      OnlyPicture(QStringLiteral("{\\an8}Top of the frame"), target);
  ASSERT_EQ(top.size(), 1u);
  EXPECT_LT(BoundsOf(top).bottom(), target.height / 4);

  const StablePictures both = Draw({{1000, 4000, {QStringLiteral("{\\an8}Sign on a wall")}},
                                    {2000, 3000, {QStringLiteral("Spoken below")}}},
                                   target);
  ASSERT_EQ(both.pictures.size(), 3u);
  EXPECT_EQ((std::vector<long long>{both.pictures[0].startMs, both.pictures[0].endMs,
                                    both.pictures[1].endMs, both.pictures[2].endMs}),
            (std::vector<long long>{1000, 2000, 3000, 4000}));
  EXPECT_EQ(both.pictures[1].events, (std::vector<int>{0, 1}));
  ASSERT_EQ(both.pictures[1].regions.size(), 2u);
  EXPECT_LT(both.pictures[1].regions[0].y, target.height / 4);
  EXPECT_GT(both.pictures[1].regions[1].y, target.height * 3 / 4);
  EXPECT_EQ(both.pictures[0].regions, both.pictures[2].regions);
  EXPECT_EQ(both.report.changingEvents, 0);
}

TEST(RenderCuePictures, DrawsItalicAndBoldDifferentlyFromPlain) {
  const HdTarget target = *HdTargetForLines(720);
  const std::vector<RgbaRegion> plain = OnlyPicture(QStringLiteral("Styled words"), target);
  const std::vector<RgbaRegion> italic = OnlyPicture(QStringLiteral("<i>Styled words</i>"), target);
  const std::vector<RgbaRegion> bold =
      OnlyPicture(QStringLiteral("{y:b}Styled words"), target, MarkupDialect::MicroDvd);
  EXPECT_NE(plain, italic);
  EXPECT_NE(plain, bold);
  EXPECT_NE(italic, bold);
  EXPECT_GT(InkOf(bold), InkOf(plain) * 21 / 20);  // heavier strokes
  // The style's own italic draws what the markup's does.
  HdStyle italicStyle = TestStyle();
  italicStyle.italic = true;
  EXPECT_EQ(OnlyPicture(QStringLiteral("Styled words"), target, MarkupDialect::Srt, italicStyle),
            italic);
}

TEST(RenderCuePictures, DrawsAFontColourSpanInItsColour) {
  const auto reds = [](const std::vector<RgbaRegion>& regions) {
    int count = 0;
    for (const RgbaRegion& region : regions) {
      for (const Rgba& p : region.pixels) {
        count += p == Rgba{255, 0, 0, 255} ? 1 : 0;
      }
    }
    return count;
  };
  const HdTarget target = *HdTargetForLines(720);
  EXPECT_GT(reds(OnlyPicture(QStringLiteral("a <font color=\"red\">red</font> word"), target)),
            100);
  EXPECT_EQ(reds(OnlyPicture(QStringLiteral("a red word"), target)), 0);
}

TEST(RenderCuePictures, DrawsBracesAndBackslashesAsText) {
  const HdTarget target = *HdTargetForLines(1080);
  // Taken as markup, the block would hide and italicise; as text it is wider
  // than the word alone, upright and on one line.
  const std::vector<RgbaRegion> literal =
      OnlyPicture(QStringLiteral("{\\i1}word"), target, MarkupDialect::Literal);
  const std::vector<RgbaRegion> word = OnlyPicture(QStringLiteral("word"), target);
  ASSERT_EQ(literal.size(), 1u);
  EXPECT_GT(literal[0].width, word[0].width * 3 / 2);
  EXPECT_LT(literal[0].height, word[0].height * 5 / 4);
  // \N written in the text is no line break.
  const std::vector<RgbaRegion> escape =
      OnlyPicture(QStringLiteral("C:\\New folder"), target, MarkupDialect::Literal);
  ASSERT_EQ(escape.size(), 1u);
  EXPECT_LT(escape[0].height, word[0].height * 5 / 4);
  const std::vector<RgbaRegion> withoutBackslash =
      OnlyPicture(QStringLiteral("C:New folder"), target, MarkupDialect::Literal);
  EXPECT_GT(escape[0].width, withoutBackslash[0].width);
  // Braces around text in an SRT cue are no override: the words show.
  EXPECT_GT(OnlyPicture(QStringLiteral("{whisper} word"), target)[0].width, word[0].width * 2);
}

TEST(RenderAssPictures, SplitsAFadeIntoFramesAndCountsTheEvent) {
  const std::string script =
      "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n\n"
      "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, Bold, Alignment\n"
      "Style: Default,Liberation Sans,60,&H00FFFFFF,0,2\n\n"
      "[Events]\nFormat: Layer, Start, End, Style, Text\n"
      "Dialogue: 0,0:00:01.00,0:00:03.00,Default,{\\fad(200,0)}Fading in\n"
      "Dialogue: 0,0:00:01.00,0:00:03.00,Default,{\\an8}Still\n"
      "Dialogue: 0,0:00:05.00,0:00:06.00,Default,Plain\n";
  const HdTarget target = *HdTargetForLines(1080);
  const StablePictures drawn = RenderAssPictures(script, target);
  EXPECT_EQ(drawn.report.changingEvents, 1);
  EXPECT_EQ(drawn.report.changingEventIndices, (std::vector<int>{0}));
  // About five frames of fade at 23.976, then one held picture to 3 s, then
  // the plain event.
  ASSERT_GE(drawn.pictures.size(), 5u);
  ASSERT_LE(drawn.pictures.size(), 8u);
  EXPECT_EQ(drawn.pictures.front().startMs, 1000);
  const TimedPicture& held = drawn.pictures[drawn.pictures.size() - 2];
  EXPECT_EQ(held.endMs, 3000);
  EXPECT_GE(held.startMs, 1200);
  EXPECT_LE(held.startMs, 1250);
  for (std::size_t i = 0; i + 2 < drawn.pictures.size(); ++i) {
    EXPECT_EQ(drawn.pictures[i].endMs, drawn.pictures[i + 1].startMs);
    EXPECT_LT(InkOf(drawn.pictures[i].regions), InkOf(drawn.pictures[i + 1].regions));
  }
  EXPECT_EQ(drawn.pictures.back().startMs, 5000);
  EXPECT_EQ(drawn.pictures.back().endMs, 6000);
}

// Stretches that share an event form one scene; a scene after a stretch
// that shares nothing with it (even one that touches it) starts anew, and a
// fresh renderer draws it to the pictures one renderer draws in order.
TEST(PictureScenes, JoinStretchesThatShareAnEventAndDrawAloneAsInOrder) {
  const std::string script =
      "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\n\n"
      "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, Bold, Alignment\n"
      "Style: Default,Liberation Sans,60,&H00FFFFFF,0,2\n\n"
      "[Events]\nFormat: Layer, Start, End, Style, Text\n"
      "Dialogue: 0,0:00:01.00,0:00:03.00,Default,First\n"
      "Dialogue: 0,0:00:02.00,0:00:04.00,Default,Second over the first\n"
      "Dialogue: 0,0:00:04.00,0:00:05.00,Default,Third touching\n"
      "Dialogue: 0,0:00:07.00,0:00:08.00,Default,Fourth\n";
  const HdTarget target = *HdTargetForLines(1080);
  AssRenderer renderer(script, target);
  const std::vector<std::vector<PictureStretch>> scenes = PictureScenes(renderer);
  std::vector<std::vector<long long>> starts;
  for (const std::vector<PictureStretch>& scene : scenes) {
    starts.emplace_back();
    for (const PictureStretch& stretch : scene) {
      starts.back().push_back(stretch.startMs);
    }
  }
  EXPECT_EQ(starts, (std::vector<std::vector<long long>>{{1000, 2000, 3000}, {4000}, {7000}}));

  std::vector<TimedPicture> inOrder;
  FindStablePictures(renderer, target,
                     [&](TimedPicture&& picture) { inOrder.push_back(std::move(picture)); });
  ASSERT_EQ(inOrder.size(), 5u);
  AssRenderer fresh(script, target);
  std::vector<TimedPicture> alone;
  for (std::size_t scene : {std::size_t{2}, std::size_t{0}}) {
    for (const PictureStretch& stretch : scenes[scene]) {
      DrawStretch(fresh, target, stretch,
                  [&](TimedPicture&& picture) { alone.push_back(std::move(picture)); });
    }
  }
  ASSERT_EQ(alone.size(), 4u);
  EXPECT_EQ(alone[0].regions, inOrder[4].regions);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(alone[i + 1].regions, inOrder[i].regions) << "stretch " << i;
  }
}

// Cues that overlap (libass stacks the later above the earlier and keeps
// them there), touch, carry markup and stand apart: drawn trusting still
// pictures, the pictures and their times are those the confirming drawer
// gives, though libass draws fewer frames and so compares other ones.
TEST(StretchDrawer, TrustingStillCuePicturesChangesNoPicture) {
  const std::vector<HdCue> cues{
      {1000, 3000, {QStringLiteral("First"), QStringLiteral("of two lines")}},
      {2000, 4000, {QStringLiteral("<i>Second</i> over the first")}},
      {4000, 5000, {QStringLiteral("{\\an8}<b>Third</b> at the top, touching")}},
      {5000, 6500, {QStringLiteral("<font color=\"#FF8000\">Fourth</font>")}},
      {9000, 9100, {QStringLiteral("Short")}}};
  const HdTarget target = *HdTargetForLines(1080);
  const std::string script = BuildAssScript(cues, MarkupDialect::Srt, TestStyle(), target);
  const auto drawAll = [&](HeldPictureCheck check) {
    AssRenderer renderer(script, target);
    std::vector<TimedPicture> pictures;
    StretchDrawer drawer(
        renderer, target, [&](TimedPicture&& picture) { pictures.push_back(std::move(picture)); },
        {}, check);
    for (const std::vector<PictureStretch>& scene : PictureScenes(renderer)) {
      for (const PictureStretch& stretch : scene) {
        drawer.draw(stretch);
      }
    }
    EXPECT_EQ(drawer.report().changingEvents, 0);
    return pictures;
  };
  const std::vector<TimedPicture> confirmed = drawAll(HeldPictureCheck::LastFrame);
  const std::vector<TimedPicture> trusted = drawAll(HeldPictureCheck::None);
  ASSERT_EQ(confirmed.size(), 6u);
  ASSERT_EQ(trusted.size(), confirmed.size());
  for (std::size_t i = 0; i < confirmed.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(trusted[i].startMs, confirmed[i].startMs);
    EXPECT_EQ(trusted[i].endMs, confirmed[i].endMs);
    EXPECT_EQ(trusted[i].events, confirmed[i].events);
    EXPECT_EQ(trusted[i].regions, confirmed[i].regions);
  }
}

TEST(RenderCuePictures, KeepsTheCuesMillisecondsAndSkipsCuesWithNothingToDraw) {
  const StablePictures drawn = Draw({{1001, 2337, {QStringLiteral("Exact")}},
                                     {2500, 2400, {QStringLiteral("Ends before it starts")}},
                                     {2600, 2700, {QStringLiteral("{\\an8}")}}},
                                    *HdTargetForLines(576));
  ASSERT_EQ(drawn.pictures.size(), 1u);
  EXPECT_EQ(drawn.pictures[0].startMs, 1001);
  EXPECT_EQ(drawn.pictures[0].endMs, 2337);
}

TEST(RenderAssPictures, RefusesTextThatIsNoScript) {
  EXPECT_THROW(RenderAssPictures("", *HdTargetForLines(1080)), std::runtime_error);
}

}  // namespace
}  // namespace tesmora
