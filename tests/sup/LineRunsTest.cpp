#include "sup/LineRuns.h"

#include "sup/PixelClassifier.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace tesmora {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kBlack{0, 0, 0};
constexpr RoleKeyColours kKeys{kWhite, kBlack, kGrey};  // text, outline, antialias

int TotalLength(const std::vector<PixelRun>& runs) {
  return std::accumulate(runs.begin(), runs.end(), 0,
                         [](int sum, const PixelRun& run) { return sum + run.length; });
}

// The run builder written pixel by pixel, as the stream layout describes it,
// for lines whose first two pixels are equal.
std::vector<PixelRun> LiteralRuns(const FrameBitmap& frame, int y, const RoleKeyColours& keys) {
  std::vector<PixelRun> runs{{0, PixelCode::Background}};
  for (int x = 1; x <= FrameBitmap::kWidth - 2; ++x) {
    const PixelCode code = ClassifyPixel(frame.pixel(x, y), keys);
    if (frame.pixel(x, y) == frame.pixel(x - 1, y)) {
      runs.back().length += 1;
      runs.back().code = code;
    } else {
      runs.push_back({1, code});
    }
  }
  runs.back().length += 1;
  return runs;
}

TEST(ClassifyPixel, LastMatchingRoleWinsAndPureBlueIsAlwaysBackground) {
  EXPECT_EQ(ClassifyPixel(kWhite, kKeys), PixelCode::Text);
  EXPECT_EQ(ClassifyPixel(kBlack, kKeys), PixelCode::Outline);
  EXPECT_EQ(ClassifyPixel(kGrey, kKeys), PixelCode::Antialias);
  EXPECT_EQ(ClassifyPixel(kPureBlue, kKeys), PixelCode::Background);
  EXPECT_EQ(ClassifyPixel(Rgb{1, 2, 3}, kKeys), PixelCode::Background);

  const RoleKeyColours shared{kWhite, kWhite, kWhite};
  EXPECT_EQ(ClassifyPixel(kWhite, shared), PixelCode::Text);
  const RoleKeyColours outlineAndAntialias{kBlack, kGrey, kGrey};
  EXPECT_EQ(ClassifyPixel(kGrey, outlineAndAntialias), PixelCode::Outline);
  const RoleKeyColours blueText{kPureBlue, kBlack, kGrey};
  EXPECT_EQ(ClassifyPixel(kPureBlue, blueText), PixelCode::Background);
}

// The classifier of the encoder's inner loop gives the same codes as the
// plain comparisons, for every way the role colours can overlap.
TEST(PixelClassifier, AgreesWithClassifyPixelWhateverColoursTheRolesShare) {
  const Rgb colours[] = {kWhite, kBlack, kGrey, kPureBlue, Rgb{0, 0, 254}};
  for (const Rgb text : colours) {
    for (const Rgb outline : colours) {
      for (const Rgb antialias : colours) {
        const RoleKeyColours keys{text, outline, antialias};
        const PixelClassifier classify{PackedKeys(keys)};
        for (const Rgb pixel : colours) {
          ASSERT_EQ(classify(PackRgb(pixel)), ClassifyPixel(pixel, keys))
              << int{pixel.r} << "," << int{pixel.g} << "," << int{pixel.b};
        }
      }
    }
  }
}

TEST(BuildLineRuns, BlankLineIsOneRunOf719) {
  const FrameBitmap frame(2);
  EXPECT_EQ(BuildLineRuns(frame, 1, kKeys), (std::vector<PixelRun>{{719, PixelCode::Background}}));
}

TEST(BuildLineRuns, ShiftsTheLineOnePixelLeft) {
  FrameBitmap frame(1);
  for (int x = 100; x <= 104; ++x) {
    frame.setPixel(x, 0, kWhite);
  }
  EXPECT_EQ(BuildLineRuns(frame, 0, kKeys),
            (std::vector<PixelRun>{
                {99, PixelCode::Background}, {5, PixelCode::Text}, {615, PixelCode::Background}}));
}

TEST(BuildLineRuns, CutsRunsWhereTheColourChangesNotTheCode) {
  FrameBitmap frame(1);
  frame.setPixel(10, 0, Rgb{1, 1, 1});
  frame.setPixel(11, 0, Rgb{2, 2, 2});
  EXPECT_EQ(BuildLineRuns(frame, 0, kKeys), (std::vector<PixelRun>{{9, PixelCode::Background},
                                                                   {1, PixelCode::Background},
                                                                   {1, PixelCode::Background},
                                                                   {708, PixelCode::Background}}));
}

TEST(BuildLineRuns, IgnoresTheLastColumn) {
  FrameBitmap frame(1);
  frame.setPixel(719, 0, kWhite);
  EXPECT_EQ(BuildLineRuns(frame, 0, kKeys), (std::vector<PixelRun>{{719, PixelCode::Background}}));
  frame.setPixel(718, 0, kWhite);
  EXPECT_EQ(BuildLineRuns(frame, 0, kKeys),
            (std::vector<PixelRun>{{717, PixelCode::Background}, {2, PixelCode::Text}}));
}

TEST(BuildLineRuns, CountsAFirstPixelOfItsOwnInTheFirstRun) {
  FrameBitmap frame(1);
  frame.setPixel(0, 0, kWhite);
  EXPECT_EQ(BuildLineRuns(frame, 0, kKeys),
            (std::vector<PixelRun>{{1, PixelCode::Text}, {718, PixelCode::Background}}));

  // Every pixel differs from its neighbour: 719 runs of one pixel.
  for (int x = 0; x < FrameBitmap::kWidth; ++x) {
    frame.setPixel(x, 0, x % 2 == 0 ? kWhite : kBlack);
  }
  const auto runs = BuildLineRuns(frame, 0, kKeys);
  EXPECT_EQ(runs.size(), 719u);
  EXPECT_EQ(TotalLength(runs), 719);
  EXPECT_EQ(runs.front(), (PixelRun{1, PixelCode::Text}));
  EXPECT_EQ(runs.back(), (PixelRun{1, PixelCode::Text}));
}

// Random lines with runs of every length, and changes at every byte position
// of the eight-byte comparison, against the pixel-by-pixel builder.
TEST(BuildLineRuns, AgreesWithThePixelByPixelBuilderOnRandomLines) {
  std::mt19937 random(20261208);
  const Rgb colours[] = {kPureBlue, kWhite, kBlack, kGrey, Rgb{0, 0, 254}, Rgb{1, 0, 255}};
  FrameBitmap frame(400);
  for (int y = 0; y < frame.height(); ++y) {
    const int maxRun = 1 + y % 40 * (y % 3 == 0 ? 20 : 1);
    int x = 0;
    while (x < FrameBitmap::kWidth) {
      const Rgb colour = colours[random() % 6];
      const int length = 1 + static_cast<int>(random() % static_cast<unsigned>(maxRun));
      for (int i = 0; i < length && x < FrameBitmap::kWidth; ++i, ++x) {
        frame.setPixel(x, y, colour);
      }
    }
    frame.setPixel(1, y, frame.pixel(0, y));
    const auto runs = BuildLineRuns(frame, y, kKeys);
    ASSERT_EQ(runs, LiteralRuns(frame, y, kKeys)) << "line " << y;
    ASSERT_EQ(TotalLength(runs), 719) << "line " << y;
  }
}

}  // namespace
}  // namespace tesmora
