#include "pgs/PaletteQuantiser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tesmora::pgs {
namespace {

RgbaPicture Row(std::vector<Rgba> pixels) {
  return {static_cast<int>(pixels.size()), 1, std::move(pixels)};
}

TEST(PaletteQuantiser, FewColoursKeepTheirExactValuesAcrossBothPictures) {
  const RgbaPicture pictures[] = {Row({{0, 0, 0, 0}, {255, 255, 0, 255}, {9, 9, 9, 0}}),
                                  Row({{255, 255, 0, 255}, {10, 20, 30, 128}})};
  const QuantisedPictures q = QuantisePictures(pictures);
  ASSERT_EQ(q.colours.size(), 2u);
  // Every alpha-0 pixel is the transparent index, whatever its colour bytes.
  EXPECT_EQ(q.pictures[0].indices, (std::vector<std::uint8_t>{0, 1, 0}));
  EXPECT_EQ(q.pictures[1].indices, (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(q.colours[0], (Rgba{255, 255, 0, 255}));
  EXPECT_EQ(q.colours[1], (Rgba{10, 20, 30, 128}));
}

// The runs the stream is coded from spell each picture row by row, end at
// every row's end and join neighbours that took one index.
TEST(PaletteQuantiser, RunsSpellEachPictureRowByRow) {
  std::vector<Rgba> pixels;
  for (int i = 0; i < 4 * 700; ++i) {
    // Two rows of many colours (a median cut), then two rows of one colour.
    const auto level = static_cast<std::uint8_t>(i < 1400 ? (i * 7) % 256 : 200);
    pixels.push_back({level, static_cast<std::uint8_t>(i % 3 * 40), 9,
                      static_cast<std::uint8_t>(i % 11 == 0 ? 0 : 255)});
  }
  const RgbaPicture pictures[] = {{700, 4, pixels}};
  const QuantisedPictures q = QuantisePictures(pictures);
  ASSERT_EQ(q.colours.size(), 255u);
  ASSERT_EQ(q.runs.size(), 1u);
  std::vector<std::uint8_t> spelt;
  std::size_t column = 0;
  for (std::size_t i = 0; i < q.runs[0].size(); ++i) {
    const IndexRun& run = q.runs[0][i];
    ASSERT_GT(run.length, 0u);
    ASSERT_LE(column + run.length, 700u) << "run " << i << " crosses a row's end";
    if (column != 0) {
      EXPECT_NE(run.index, q.runs[0][i - 1].index) << "run " << i;
    }
    spelt.insert(spelt.end(), run.length, run.index);
    column = (column + run.length) % 700;
  }
  EXPECT_EQ(spelt, q.pictures[0].indices);
}

// The colours antialiased outlined text composites to: a ramp of opaque
// greys from the outline to the fill and a ramp of partly transparent
// outline black toward the background.
TEST(PaletteQuantiser, TextRampsOfFiveHundredColoursStayWithinTwoLevels) {
  std::vector<Rgba> pixels;
  for (int v = 0; v < 256; ++v) {
    for (int n = 0; n < 1 + (v == 255) * 50; ++n) {
      pixels.push_back({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v),
                        static_cast<std::uint8_t>(v), 255});
    }
  }
  for (int a = 1; a < 255; ++a) {
    pixels.push_back({0, 0, 0, static_cast<std::uint8_t>(a)});
  }
  const RgbaPicture picture = Row(pixels);
  const QuantisedPictures q = QuantisePictures(std::span(&picture, 1));
  ASSERT_LE(q.colours.size(), 255u);
  int worst = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint8_t index = q.pictures[0].indices[i];
    ASSERT_GE(index, 1);
    const Rgba got = q.colours[index - 1];
    // Compared as drawn over black, the way a player composites them.
    const auto over_black = [](std::uint8_t v, std::uint8_t a) { return v * a / 255; };
    worst =
        std::max({worst, std::abs(over_black(got.r, got.a) - over_black(pixels[i].r, pixels[i].a)),
                  std::abs(got.a - pixels[i].a)});
  }
  EXPECT_LE(worst, 2);
  // The common full white stays exact.
  EXPECT_EQ(q.colours[q.pictures[0].indices[300] - 1], (Rgba{255, 255, 255, 255}));
}

// More distinct colours than pixel numbers can hold (vector art with a
// gradient, say), the limit crossed in the second picture: each colour is
// still drawn with one index in both pictures, the nearest entry to it, and
// transparent pixels stay index 0.
TEST(PaletteQuantiser, PicturesOfMoreThanSixtyFiveThousandColoursKeepOneIndexAColour) {
  const auto colour = [](int n) {
    return Rgba{static_cast<std::uint8_t>(n & 0xFF), static_cast<std::uint8_t>((n >> 8) & 0xFF),
                static_cast<std::uint8_t>(n * 7 & 0xFF),
                static_cast<std::uint8_t>(100 + (n >> 16) * 100)};
  };
  std::vector<Rgba> first;
  std::vector<Rgba> second;
  for (int n = 0; n < 40'000; ++n) {
    first.push_back(colour(n));
    second.push_back(colour(n + 40'000));
    second.push_back(n % 2 == 0 ? colour(n) : Rgba{1, 2, 3, 0});
  }
  const RgbaPicture pictures[] = {Row(first), Row(second)};
  const QuantisedPictures q = QuantisePictures(pictures);
  ASSERT_EQ(q.colours.size(), 255u);
  const auto premultiplied = [](Rgba c) {
    const auto scale = [&](std::uint8_t v) { return (v * c.a + 127) / 255; };
    return std::array<int, 4>{scale(c.r), scale(c.g), scale(c.b), c.a};
  };
  const auto distance = [](const std::array<int, 4>& a, const std::array<int, 4>& b) {
    int d = 0;
    for (int i = 0; i < 4; ++i) {
      d += (a[i] - b[i]) * (a[i] - b[i]);
    }
    return d;
  };
  for (int n = 0; n < 40'000; n += 97) {
    SCOPED_TRACE(n);
    const std::uint8_t index = q.pictures[0].indices[static_cast<std::size_t>(n)];
    ASSERT_GE(index, 1);
    const std::size_t again = static_cast<std::size_t>(n) * 2 + 1;
    EXPECT_EQ(q.pictures[1].indices[again], n % 2 == 0 ? index : 0);
    const std::array<int, 4> point = premultiplied(colour(n));
    const int found = distance(premultiplied(q.colours[index - 1]), point);
    for (const Rgba& entry : q.colours) {
      ASSERT_LE(found, distance(premultiplied(entry), point));
    }
  }
}

}  // namespace
}  // namespace tesmora::pgs
