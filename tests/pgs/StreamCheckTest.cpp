// The PGS checker on hand-built streams: a clean one, and each kind of
// breach named exactly, with its display set and time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pgs/RunLengthCheck.h"
#include "pgs/StreamCheck.h"
#include "tests/pgs/StreamBuilder.h"

namespace tesmora::pgs {
namespace {

using testing::Bytes;
using testing::Rect;
using testing::SolidRunLengths;
using testing::StreamBuilder;

constexpr std::uint32_t kSecond = 90'000;
const Rect kBox{860, 980, 200, 50};

std::vector<std::string> Lines(const Bytes& bytes) {
  std::vector<std::string> lines;
  for (const Breach& breach : CheckStream(bytes).breaches) {
    lines.push_back(BreachLine(breach));
  }
  return lines;
}

// An epoch start at `start` showing the given objects, each sent as a solid
// `size` object, with a clearing set one second later; DTS 0 throughout.
Bytes Shown(std::uint32_t start, const std::vector<testing::Shown>& objects,
            const std::vector<testing::WindowAt>& windows, Rect size) {
  StreamBuilder stream;
  stream.Composition(start, 0, CompositionState::EpochStart, objects)
      .Windows(start, 0, windows)
      .Palette(start, 0, 0, 0);
  for (const testing::Shown& shown : objects) {
    stream.Object(start, 0, shown.objectId, 0, size.width, size.height,
                  SolidRunLengths(size.width, size.height));
  }
  return stream.End(start, 0)
      .Composition(start + kSecond, 0, CompositionState::Normal, {})
      .Windows(start + kSecond, 0, windows)
      .End(start + kSecond, 0)
      .bytes();
}

TEST(pgsCheckStream, PassesCuesBuiltToTheDecoderModel) {
  StreamBuilder stream;
  stream.Cue(5 * kSecond, 8 * kSecond, kBox).Cue(8 * kSecond + 6200, 10 * kSecond, kBox);
  const CheckReport report = CheckStream(stream.bytes());
  EXPECT_EQ(Lines(stream.bytes()), std::vector<std::string>{});
  EXPECT_EQ(report.sets, 4U);
  EXPECT_EQ(report.epochs, 2U);
}

TEST(pgsCheckStream, PassesAStreamWhoseDtsIsZero) {
  const Bytes bytes = Shown(5 * kSecond, {{0, 0, 860, 980}}, {{0, kBox}}, kBox);
  EXPECT_EQ(Lines(bytes), std::vector<std::string>{});
}

TEST(pgsCheckStream, NamesAnObjectOffTheFrame) {
  const Rect hanging{1900, 1060, 100, 40};
  const Bytes bytes = Shown(5 * kSecond, {{0, 0, 1900, 1060}}, {{0, hanging}}, hanging);
  EXPECT_EQ(Lines(bytes),
            (std::vector<std::string>{"display set 1 at 00:00:05.000: window 0 at (1900,1060) size "
                                      "100x40 goes past the 1920x1080 frame",
                                      "display set 1 at 00:00:05.000: object 0 at (1900,1060) size "
                                      "100x40 goes past the 1920x1080 frame",
                                      "display set 2 at 00:00:06.000: window 0 at (1900,1060) size "
                                      "100x40 goes past the 1920x1080 frame"}));
}

TEST(pgsCheckStream, NamesThreeObjectsShown) {
  const Bytes bytes = Shown(5 * kSecond, {{0, 0, 100, 900}, {1, 0, 400, 900}, {2, 1, 1000, 900}},
                            {{0, {100, 900, 600, 20}}, {1, {1000, 900, 20, 20}}}, {0, 0, 20, 20});
  EXPECT_EQ(Lines(bytes),
            std::vector<std::string>{"display set 1 at 00:00:05.000: 3 objects shown; at most 2"});
}

TEST(pgsCheckStream, NamesASetDecodingBeforeThePreviousIsShown) {
  // The second cue starts 30 ms after the first is cleared; its epoch start
  // needs 65 ms to clear the plane.
  StreamBuilder stream;
  stream.Cue(5 * kSecond, 8 * kSecond, kBox).Cue(8 * kSecond + 2700, 10 * kSecond, kBox);
  EXPECT_EQ(Lines(stream.bytes()),
            std::vector<std::string>{"display set 3 at 00:00:08.030: decoding starts at "
                                     "00:00:07.964, before the previous display set is shown "
                                     "at 00:00:08.000"});
  // The same with DTS 0: the checker takes the latest start the model allows.
  const Bytes first = Shown(5 * kSecond, {{0, 0, 860, 980}}, {{0, kBox}}, kBox);
  Bytes both = first;
  const Bytes second = Shown(6 * kSecond + 2700, {{0, 0, 860, 980}}, {{0, kBox}}, kBox);
  both.insert(both.end(), second.begin(), second.end());
  const std::vector<std::string> lines = Lines(both);
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], "display set 3 at 00:00:06.030: composition number 0 follows 1; expected 2");
  EXPECT_EQ(lines[1],
            "display set 3 at 00:00:06.030: decoding starts at 00:00:05.964, before the "
            "previous display set is shown at 00:00:06.000");
}

TEST(pgsCheckStream, NamesAShortRunLengthLine) {
  Bytes data = SolidRunLengths(200, 50);
  data[6 * 3 + 2] = 140;  // the fourth line holds 140 pixels
  const Bytes bytes = StreamBuilder{}
                          .Composition(kSecond, 0, CompositionState::EpochStart, {{0, 0, 860, 980}})
                          .Windows(kSecond, 0, {{0, kBox}})
                          .Palette(kSecond, 0, 0, 0)
                          .Object(kSecond, 0, 0, 0, 200, 50, data)
                          .End(kSecond, 0)
                          .bytes();
  EXPECT_EQ(Lines(bytes), std::vector<std::string>{
                              "display set 1 at 00:00:01.000: object 0 line 4 has 140 pixels; "
                              "the object is 200 wide"});
}

TEST(pgsCheckRunLengths, ReadsEveryCodeForm) {
  // One line of 1 + 5 + 100 + 4 + 200 = 310 pixels, then a line of 310 zeros.
  const Bytes data{0x07, 0x00, 0x05, 0x00, 0x40, 100,  0x00, 0x84, 0x09, 0x00,
                   0xC0, 200,  0x09, 0x00, 0x00, 0x00, 0x41, 0x36, 0x00, 0x00};
  EXPECT_EQ(CheckRunLengths(3, 310, 2, data), std::vector<std::string>{});
  EXPECT_EQ(CheckRunLengths(3, 310, 3, data),
            std::vector<std::string>{"object 3 has 2 lines of run-length data; it is 3 high"});
  const Bytes cut(data.begin(), data.begin() + 11);
  EXPECT_EQ(CheckRunLengths(3, 310, 1, cut),
            (std::vector<std::string>{"object 3 run-length data ends inside a code",
                                      "object 3 has 0 lines of run-length data; it is 1 high"}));
  const Bytes open(data.begin(), data.begin() + 13);
  EXPECT_EQ(
      CheckRunLengths(3, 310, 0, open),
      std::vector<std::string>{"object 3 run-length data ends without closing its last line"});
  Bytes narrow = SolidRunLengths(20, 8);
  narrow[2] = 19;
  narrow[8] = 21;
  EXPECT_EQ(CheckRunLengths(0, 20, 8, narrow),
            std::vector<std::string>{"object 0 line 1 has 19 pixels; the object is 20 wide (and "
                                     "1 more line of the wrong width)"});
}

TEST(pgsCheckStream, NamesWindowAndObjectLayoutFaults) {
  const Bytes bytes = Shown(kSecond, {{0, 0, 100, 100}, {1, 1, 150, 120}},
                            {{0, {100, 100, 64, 64}}, {1, {150, 120, 64, 64}}}, {0, 0, 64, 64});
  EXPECT_EQ(Lines(bytes),
            (std::vector<std::string>{"display set 1 at 00:00:01.000: windows 0 and 1 overlap",
                                      "display set 2 at 00:00:02.000: windows 0 and 1 overlap"}));
  const Bytes outside =
      Shown(kSecond, {{0, 0, 100, 100}}, {{0, {100, 100, 32, 32}}}, {0, 0, 64, 8});
  EXPECT_EQ(Lines(outside), std::vector<std::string>{
                                "display set 1 at 00:00:01.000: object 0 at (100,100) size 64x8 "
                                "goes past window 0 at (100,100) size 32x32"});
  const Bytes tiny = Shown(kSecond, {{0, 0, 100, 100}}, {{0, {100, 100, 32, 32}}}, {0, 0, 4, 8});
  EXPECT_EQ(Lines(tiny), std::vector<std::string>{
                             "display set 1 at 00:00:01.000: object 0 is 4x8; its sides must be "
                             "8 to 4096"});
}

TEST(pgsCheckStream, NamesVersionsThatDoNotGoUpByOne) {
  const std::vector<testing::Shown> one{{0, 0, 860, 980}};
  const Bytes bytes = StreamBuilder{}
                          .Composition(kSecond, 0, CompositionState::EpochStart, one)
                          .Windows(kSecond, 0, {{0, kBox}})
                          .Palette(kSecond, 0, 0, 0)
                          .Object(kSecond, 0, 0, 0, 200, 50, SolidRunLengths(200, 50))
                          .End(kSecond, 0)
                          // A fade step that keeps the palette's version.
                          .Composition(kSecond + 9000, 0, CompositionState::Normal, one, 0, true)
                          .Palette(kSecond + 9000, 0, 0, 0, 0x80)
                          .End(kSecond + 9000, 0)
                          // A new picture under the object's old version + 2.
                          .Composition(2 * kSecond, 0, CompositionState::Normal, one)
                          .Palette(2 * kSecond, 0, 0, 2, 0x80)
                          .Object(2 * kSecond, 0, 0, 2, 200, 40, SolidRunLengths(200, 40))
                          .End(2 * kSecond, 0)
                          .bytes();
  EXPECT_EQ(Lines(bytes), (std::vector<std::string>{
                              "display set 2 at 00:00:01.100: palette 0 changes from version 0 "
                              "to 0; expected 1",
                              "display set 3 at 00:00:02.000: object 0 changes from version 0 "
                              "to 2; expected 1"}));
}

// A fade's palette updates come on the frames after the set before. At
// 23.976 frames a second a frame is 41.7 ms, and frame times in whole
// milliseconds put the next frame 41 ms on: that is one frame, 40 ms is not.
TEST(pgsCheckStream, TakesAPaletteUpdateOnTheNextFrameInWholeMilliseconds) {
  const std::vector<testing::Shown> one{{0, 0, 860, 980}};
  const auto withUpdateAfter = [&one](std::int64_t after) {
    return StreamBuilder{}
        .Composition(kSecond, 0, CompositionState::EpochStart, one)
        .Windows(kSecond, 0, {{0, kBox}})
        .Palette(kSecond, 0, 0, 0)
        .Object(kSecond, 0, 0, 0, 200, 50, SolidRunLengths(200, 50))
        .End(kSecond, 0)
        .Composition(kSecond + after, 0, CompositionState::Normal, one, 0, true)
        .Palette(kSecond + after, 0, 0, 1, 0x80)
        .End(kSecond + after, 0)
        .bytes();
  };
  EXPECT_EQ(Lines(withUpdateAfter(41 * 90)), std::vector<std::string>{});
  EXPECT_EQ(Lines(withUpdateAfter(40 * 90)),
            std::vector<std::string>{
                "display set 2 at 00:00:01.040: palette update 40.0 ms after the previous display "
                "set; it needs at least one frame (41.7 ms)"});
}

TEST(pgsCheckStream, NamesSegmentOrderAndSizeFaults) {
  const Bytes bytes = StreamBuilder{}
                          .Palette(kSecond, 0, 0, 0)
                          .Composition(kSecond, 0, CompositionState::EpochStart, {})
                          .Segment(SegmentType::Window, kSecond, 0, {1, 0, 0})
                          .Segment(SegmentType::End, kSecond, 0, {0})
                          .Composition(2 * kSecond, 0, CompositionState::Normal, {})
                          .Segment(static_cast<SegmentType>(0x42), 2 * kSecond, 0, {})
                          .bytes();
  EXPECT_EQ(Lines(bytes),
            (std::vector<std::string>{
                "display set 1 at 00:00:01.000: the display set does not start with a "
                "composition segment",
                "display set 1 at 00:00:01.000: the display set has no end segment",
                "display set 2 at 00:00:01.000: window segment of 3 bytes; its 1 window needs 10",
                "display set 2 at 00:00:01.000: end segment of 1 byte; it should be empty",
                "display set 3 at 00:00:02.000: unknown segment type 0x42 at byte 103",
                "display set 3 at 00:00:02.000: the display set has no end segment"}));
}

TEST(pgsCheckStream, NeverPassesAStreamCutInsideADisplaySet) {
  StreamBuilder stream;
  stream.Cue(5 * kSecond, 8 * kSecond, {860, 980, 64, 8});
  const Bytes& whole = stream.bytes();
  const std::size_t firstSetEnd = 13 + 11 + 8 + 13 + 10 + 13 + 12 + 13 + 11 + 6 * 8 + 13;
  for (std::size_t length = 1; length < whole.size(); ++length) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(CheckStream(cut).breaches.empty(), length == firstSetEnd) << length;
  }
  EXPECT_EQ(Lines({}), std::vector<std::string>{
                           "display set 1 at 00:00:00.000: the stream holds no display set"});
  Bytes noise = whole;
  noise[firstSetEnd] = 'X';
  EXPECT_EQ(Lines(noise),
            std::vector<std::string>{"display set 2 at 00:00:05.000: at byte " +
                                     std::to_string(firstSetEnd) +
                                     ": no segment (expected \"PG\"); nothing after it is read"});
}

TEST(pgsCheckStream, ListsAFixedNumberOfBreachesAndCountsTheRest) {
  // Each lone end segment is a display set without a composition segment.
  StreamBuilder stream;
  for (std::size_t n = 0; n < kMostListedBreaches + 2000; ++n) {
    stream.End(kSecond, 0);
  }
  const CheckReport report = CheckStream(stream.bytes());
  EXPECT_EQ(report.breaches.size(), kMostListedBreaches);
  EXPECT_EQ(report.unlisted, 2000U);
  EXPECT_EQ(report.sets, kMostListedBreaches + 2000);
  EXPECT_EQ(BreachLine(report.breaches.back()),
            "display set 10000 at 00:00:01.000: the display set does not start with a "
            "composition segment");
}

}  // namespace
}  // namespace tesmora::pgs
