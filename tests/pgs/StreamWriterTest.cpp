#include "pgs/StreamWriter.h"

#include <gtest/gtest.h>

#include "pgs/DecoderModel.h"
#include "pgs/SegmentTypes.h"
#include "tests/pgs/SegmentWalk.h"

namespace tesmora::pgs {
namespace {

using testing::Segment;
using testing::WalkSegments;

PlacedPicture Solid(int x, int y, int width, int height) {
  return {x,
          y,
          {width, height,
           std::vector<Rgba>(static_cast<std::size_t>(width) * height, Rgba{255, 255, 255, 255})}};
}

TimedPicture Cue(std::int64_t start_ms, std::int64_t end_ms, std::vector<PlacedPicture> regions) {
  return {TicksFromMilliseconds(start_ms), TicksFromMilliseconds(end_ms), std::move(regions),
          false};
}

struct Timed {
  int type;
  std::uint32_t pts;
  std::uint32_t dts;
  friend bool operator==(const Timed&, const Timed&) = default;
};

std::vector<Timed> Times(const std::vector<Segment>& segments) {
  std::vector<Timed> times;
  for (const Segment& s : segments) {
    times.push_back({s.type, s.pts, s.dts});
  }
  return times;
}

TEST(DecoderModel, DurationsAtTheModelsRates) {
  EXPECT_EQ(PlaneClearTicks(1920, 1080), 5832);
  EXPECT_EQ(PlaneClearTicks(1280, 720), 2592);
  EXPECT_EQ(PlaneClearTicks(720, 576), 1167);
  EXPECT_EQ(PlaneClearTicks(720, 480), 972);
  EXPECT_EQ(DecodeTicks(800, 100), 450);
  EXPECT_EQ(WriteTicks(800, 100), 225);
  EXPECT_EQ(DecodeTicks(1, 1), 1);
}

TEST(VideoFormat, NamedFormatsAndFrameDurations) {
  const std::optional<VideoFormat> film = VideoFormatOf(1080, 23.976);
  ASSERT_TRUE(film.has_value());
  EXPECT_EQ(film->width, 1920);
  EXPECT_EQ(film->frame_rate, FrameRateCode::Film);
  EXPECT_EQ(VideoFormatOf(480, 29.97)->width, 720);
  EXPECT_EQ(VideoFormatOf(720, 59.94)->frame_rate, FrameRateCode::Ntsc60);
  EXPECT_FALSE(VideoFormatOf(1080, 30.0).has_value());
  EXPECT_FALSE(VideoFormatOf(2160, 24.0).has_value());
  EXPECT_EQ(FrameTicks(FrameRateCode::Film), 3754);
  EXPECT_EQ(FrameTicks(FrameRateCode::Pal), 3600);
  EXPECT_EQ(FrameTicks(FrameRateCode::Ntsc60), 1502);
}

TEST(StreamWriter, OneCueIsAnEpochStartAndAClearAtTheModelsTimes) {
  const TimedPicture cues[] = {Cue(5000, 8000, {Solid(560, 900, 800, 100)})};
  const PgsStream stream = WritePgsStream(cues, {});
  const std::vector<Segment> segments = WalkSegments(stream.bytes);
  // Shown at 450000: plane clear 5832 (more than the 450 of decoding) and
  // the window's write 225 before it.
  EXPECT_EQ(Times(segments), (std::vector<Timed>{{0x16, 450000, 443943},
                                                 {0x17, 449775, 443943},
                                                 {0x14, 443943, 443943},
                                                 {0x15, 444393, 443943},
                                                 {0x80, 444393, 444393},
                                                 {0x16, 720000, 719775},
                                                 {0x17, 719775, 719775},
                                                 {0x80, 719775, 719775}}));
  EXPECT_TRUE(stream.late.empty());
  ASSERT_EQ(segments.size(), 8u);
  // Epoch start, composition 0, one object at (560, 900); the clear is
  // composition 1 in the same epoch with no object.
  EXPECT_EQ(segments[0].payload[7], 0x80);
  EXPECT_EQ(segments[0].payload[10], 1);
  EXPECT_EQ(segments[5].payload[6], 1);
  EXPECT_EQ(segments[5].payload[7], 0x00);
  EXPECT_EQ(segments[5].payload[10], 0);
  // Palette: transparent and the white of BT.709.
  EXPECT_EQ(segments[2].payload,
            (std::vector<std::uint8_t>{0, 0, 0, 16, 128, 128, 0, 1, 235, 128, 128, 255}));
}

TEST(StreamWriter, TouchingCuesInTheSameWindowsFollowInOneEpoch) {
  const TimedPicture cues[] = {Cue(5000, 6000, {Solid(560, 900, 800, 100)}),
                               Cue(6000, 7000, {Solid(600, 900, 700, 100)})};
  const std::vector<Segment> segments = WalkSegments(WritePgsStream(cues, {}).bytes);
  ASSERT_EQ(segments.size(), 13u);  // two sets of five, one clear of three
  const Segment& second = segments[5];
  EXPECT_EQ(second.type, 0x16);
  EXPECT_EQ(second.payload[7], 0x00);  // normal case: no plane clear
  EXPECT_EQ(second.pts, 540000u);
  // Decoding 700x100 (394) and writing the epoch's 800x100 window (225).
  EXPECT_EQ(second.dts, 540000u - 394 - 225);
  EXPECT_EQ(segments[7].payload[1], 1);  // palette version
  EXPECT_EQ(segments[8].payload[2], 1);  // object version
}

TEST(StreamWriter, AGapTooShortForTheModelStartsTheLaterCueLate) {
  const TimedPicture cues[] = {Cue(5000, 6000, {Solid(560, 900, 800, 100)}),
                               Cue(6030, 7000, {Solid(560, 100, 800, 100)})};
  const PgsStream stream = WritePgsStream(cues, {});
  const std::vector<Segment> segments = WalkSegments(stream.bytes);
  ASSERT_EQ(segments.size(), 16u);
  // The clear is shown at 540000; the new epoch needs 5832 + 225 ticks.
  EXPECT_EQ(segments[8].pts, 540000u + 6057);
  EXPECT_EQ(segments[8].dts, 540000u);
  ASSERT_EQ(stream.late.size(), 1u);
  EXPECT_EQ(stream.late[0].number, 2);
  EXPECT_EQ(stream.late[0].start_late_ms, 38);  // 6057 - 2700 ticks = 37.3 ms
}

TEST(StreamWriter, ACueShorterThanItsClearEndsWhenTheClearCanBeDecoded) {
  const TimedPicture cues[] = {Cue(5000, 5001, {Solid(560, 900, 800, 100)})};
  const PgsStream stream = WritePgsStream(cues, {});
  // The clear writes the 800x100 window (225 ticks) after the cue is shown.
  EXPECT_EQ(WalkSegments(stream.bytes)[5].pts, 450000u + 225);
  ASSERT_EQ(stream.late.size(), 1u);
  EXPECT_EQ(stream.late[0].start_late_ms, 0);
  EXPECT_EQ(stream.late[0].end_late_ms, 2);
}

TEST(StreamWriter, ACueAtZeroStartsWhenItCanBeDecoded) {
  const TimedPicture cues[] = {Cue(0, 1000, {Solid(0, 0, 100, 100)})};
  const PgsStream stream = WritePgsStream(cues, {});
  EXPECT_EQ(WalkSegments(stream.bytes)[0].dts, 0u);
  ASSERT_EQ(stream.late.size(), 1u);
  EXPECT_EQ(stream.late[0].start_late_ms, 66);  // 5832 + 29 ticks
}

TEST(StreamWriter, ForcedCuesAndTheFrameRateAreMarkedInTheComposition) {
  TimedPicture cue = Cue(5000, 6000, {Solid(10, 10, 50, 50), Solid(10, 500, 50, 50)});
  cue.forced = true;
  const StreamOptions options{{720, 576, FrameRateCode::Pal}, ColourSpace::Bt601};
  const std::vector<Segment> segments =
      WalkSegments(WritePgsStream(std::span(&cue, 1), options).bytes);
  const std::vector<std::uint8_t>& pcs = segments[0].payload;
  EXPECT_EQ(pcs[4], 0x30);
  EXPECT_EQ(pcs[10], 2);
  EXPECT_EQ(pcs[14], kObjectForced);
  EXPECT_EQ(pcs[22], kObjectForced);
  EXPECT_EQ(segments[1].payload[0], 2);  // two windows
}

}  // namespace
}  // namespace tesmora::pgs

namespace tesmora::pgs {
namespace {

struct Shown {
  std::uint32_t pts;
  int state;
  int objects;
  friend bool operator==(const Shown&, const Shown&) = default;
};

std::vector<Shown> Compositions(const std::vector<std::uint8_t>& bytes) {
  std::vector<Shown> shown;
  for (const Segment& s : WalkSegments(bytes)) {
    if (s.type == 0x16) {
      shown.push_back({s.pts, s.payload[7], s.payload[10]});
    }
  }
  return shown;
}

TEST(StreamWriter, OverlappingCuesAreShownTogetherAndNeitherIsCutShort) {
  const TimedPicture cues[] = {Cue(5000, 9000, {Solid(560, 900, 800, 100)}),
                               Cue(6000, 7000, {Solid(560, 50, 800, 100)})};
  const PgsStream stream = WritePgsStream(cues, {});
  // The bottom cue alone, both (a new epoch: a second window), the bottom
  // cue again in the same windows, and the clear when it ends.
  EXPECT_EQ(Compositions(stream.bytes),
            (std::vector<Shown>{
                {450000, 0x80, 1}, {540000, 0x80, 2}, {630000, 0x00, 1}, {810000, 0x00, 0}}));
  EXPECT_TRUE(stream.late.empty());
}

TEST(StreamWriter, AForcedRegionMarksOnlyItsObject) {
  TimedPicture cue = Cue(5000, 6000, {Solid(10, 10, 50, 50), Solid(10, 500, 50, 50)});
  cue.regions[1].forced = true;
  const std::vector<Segment> segments = WalkSegments(WritePgsStream(std::span(&cue, 1), {}).bytes);
  EXPECT_EQ(segments[0].payload[14], 0);
  EXPECT_EQ(segments[0].payload[22], kObjectForced);
}

}  // namespace
}  // namespace tesmora::pgs

namespace tesmora::pgs {
namespace {

// A white box fading out in three steps a frame (42 ms) apart from 5 s.
std::vector<TimedPicture> FadingBox() {
  std::vector<TimedPicture> steps;
  for (const int alpha : {255, 170, 85}) {
    PlacedPicture region = Solid(560, 900, 800, 100);
    for (Rgba& p : region.picture.pixels) {
      p.a = static_cast<std::uint8_t>(alpha);
    }
    const std::int64_t start = 5000 + (255 - alpha) / 85 * 42;
    steps.push_back(Cue(start, start + 42, {region}));
  }
  return steps;
}

TEST(StreamWriter, AFadeOfTheShownPictureIsAPaletteUpdate) {
  const PgsStream stream = WritePgsStream(FadingBox(), {});
  std::vector<int> types;
  for (const Segment& s : WalkSegments(stream.bytes)) {
    types.push_back(s.type);
  }
  // An epoch start, two palette-only sets (PCS, PDS, END) and the clear.
  EXPECT_EQ(types, (std::vector<int>{0x16, 0x17, 0x14, 0x15, 0x80, 0x16, 0x14, 0x80, 0x16, 0x14,
                                     0x80, 0x16, 0x17, 0x80}));
  const std::vector<Segment> segments = WalkSegments(stream.bytes);
  EXPECT_EQ(segments[5].pts, 450000u + 42 * 90);
  EXPECT_EQ(segments[5].payload[8], kPaletteUpdateOnly);
  EXPECT_EQ(segments[5].payload[10], 1);  // the shown object stays listed
  EXPECT_EQ(segments[6].payload,
            (std::vector<std::uint8_t>{0, 1, 0, 16, 128, 128, 0, 1, 235, 128, 128, 170}));
  EXPECT_EQ(segments[9].payload[1], 2);  // palette version
  EXPECT_TRUE(stream.late.empty());
}

// Every step of a fade is handed on with the objects shown then: the
// picture before a palette update is shown until the update, not empty.
TEST(PgsStreamWriter, HandsOnEveryStepOfAFadeWithItsObjects) {
  std::vector<ShownPicture> shown;
  PgsStreamWriter writer({}, [&shown](const ShownPicture& picture) { shown.push_back(picture); });
  for (const TimedPicture& step : FadingBox()) {
    writer.add(step);
  }
  writer.finish();
  ASSERT_EQ(shown.size(), 3u);
  for (std::size_t n = 0; n < shown.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(shown[n].start, TicksFromMilliseconds(5000 + 42 * static_cast<int>(n)));
    EXPECT_EQ(shown[n].end, TicksFromMilliseconds(5042 + 42 * static_cast<int>(n)));
    ASSERT_EQ(shown[n].objects.size(), 1u);
    EXPECT_EQ(shown[n].objects[0].x, 560);
    EXPECT_EQ(shown[n].objects[0].picture.width, 800);
    ASSERT_EQ(shown[n].colours.size(), 1u);
    EXPECT_EQ(shown[n].colours[0].a, 255 - 85 * static_cast<int>(n));
  }
}

}  // namespace
}  // namespace tesmora::pgs

namespace tesmora::pgs {
namespace {

// Pictures given one by one make the stream the whole list makes: the same
// bytes, taken as they come, and the same late pictures, through epochs,
// replacements, a short gap, a recolouring and an empty picture left out.
TEST(PgsStreamWriter, WritesPictureByPictureTheStreamOfTheWholeList) {
  PlacedPicture dim = Solid(300, 900, 600, 80);
  for (Rgba& pixel : dim.picture.pixels) {
    pixel = {128, 128, 128, 255};
  }
  std::vector<TimedPicture> pictures{
      Cue(1000, 2000, {Solid(200, 900, 800, 100)}),
      Cue(2000, 2500, {Solid(200, 900, 800, 100), Solid(200, 50, 500, 60)}),
      Cue(2505, 3000, {Solid(300, 900, 600, 80)}),
      Cue(3000, 3400, {dim}),
      Cue(4000, 4100, {PlacedPicture{10, 10, {0, 0, {}}}}),
      Cue(5000, 6000, {Solid(1800, 1000, 400, 200)}),
  };
  pictures.back().forced = true;
  const StreamOptions options{VideoFormat{}, ColourSpace::Bt709};
  const PgsStream whole = WritePgsStream(pictures, options);
  PgsStreamWriter writer(options);
  std::vector<std::uint8_t> bytes;  // as a caller storing them as it goes
  for (const TimedPicture& picture : pictures) {
    writer.add(picture);
    const std::vector<std::uint8_t> taken = writer.takeBytes();
    bytes.insert(bytes.end(), taken.begin(), taken.end());
  }
  const PgsStream streamed = writer.finish();
  bytes.insert(bytes.end(), streamed.bytes.begin(), streamed.bytes.end());
  EXPECT_EQ(bytes, whole.bytes);
  ASSERT_EQ(streamed.late.size(), whole.late.size());
  ASSERT_FALSE(streamed.late.empty());  // the set after the short gap
  for (std::size_t n = 0; n < whole.late.size(); ++n) {
    EXPECT_EQ(streamed.late[n].number, whole.late[n].number);
    EXPECT_EQ(streamed.late[n].start_late_ms, whole.late[n].start_late_ms);
    EXPECT_EQ(streamed.late[n].shown, whole.late[n].shown);
  }
}

// A line moving a little every frame (42 ms) needs a new epoch each time,
// and clearing the plane alone takes 65 ms: steps the player cannot show
// before they end are left out rather than pushing every later one late.
TEST(PgsStreamWriter, LeavesOutTheStepsOfAMoveThePlayerCannotShowInTime) {
  const StreamOptions options{VideoFormat{}, ColourSpace::Bt709};
  PgsStreamWriter writer(options);
  std::vector<std::uint8_t> bytes;
  std::vector<TimedPicture> steps;
  for (int n = 0; n < 48; ++n) {
    TimedPicture step =
        Cue(1000 + n * 42, 1000 + (n + 1) * 42, {Solid(100 + n * 20, 900, 400, 60)});
    step.droppable = n > 0;
    steps.push_back(std::move(step));
  }
  steps.back().end = TicksFromMilliseconds(5000);  // the move's end, held
  int leftOut = 0;
  for (const TimedPicture& step : steps) {
    leftOut += writer.add(step) ? 0 : 1;
    const std::vector<std::uint8_t> taken = writer.takeBytes();
    bytes.insert(bytes.end(), taken.begin(), taken.end());
  }
  const PgsStream stream = writer.finish();
  bytes.insert(bytes.end(), stream.bytes.begin(), stream.bytes.end());
  EXPECT_GT(leftOut, 10);
  EXPECT_LT(leftOut, 40);
  // Every set shown lands inside its own step: none drifts later and later.
  std::vector<std::uint32_t> shown;
  for (const Segment& segment : WalkSegments(bytes)) {
    if (segment.type == static_cast<int>(SegmentType::Composition)) {
      shown.push_back(segment.pts);
    }
  }
  ASSERT_EQ(shown.size(), steps.size() - static_cast<std::size_t>(leftOut) + 1);  // and the clear
  for (const LateCue& late : stream.late) {
    const TimedPicture& step = steps[static_cast<std::size_t>(late.number - 1)];
    EXPECT_LT(late.shown, step.end) << late.number;
  }
  EXPECT_EQ(shown.back(), TicksFromMilliseconds(5000));
  EXPECT_GE(shown[shown.size() - 2], steps.back().start);

  // Given the reach of the whole move, the first step's epoch takes it as
  // its window and every later step fits it: all are shown, on time.
  PgsStreamWriter reaching(options);
  for (TimedPicture& step : steps) {
    step.reach = Window{0, 100, 900, 400 + 47 * 20, 60};
    EXPECT_TRUE(reaching.add(step));
  }
  const PgsStream held = reaching.finish();
  EXPECT_TRUE(held.late.empty());
  int epochs = 0;
  for (const Segment& segment : WalkSegments(held.bytes)) {
    if (segment.type == static_cast<int>(SegmentType::Composition)) {
      epochs += segment.payload.at(7) == static_cast<int>(CompositionState::EpochStart) ? 1 : 0;
    }
  }
  EXPECT_EQ(epochs, 1);
}

}  // namespace
}  // namespace tesmora::pgs
