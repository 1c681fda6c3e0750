#include "pgs/ObjectLayout.h"

#include <gtest/gtest.h>

namespace tesmora::pgs {
namespace {

constexpr Rgba kInk{255, 255, 255, 255};

// A picture of the given size, transparent but for an inked rectangle.
PlacedPicture Region(int x, int y, int width, int height, int ink_x, int ink_y, int ink_w,
                     int ink_h) {
  PlacedPicture region{x, y, {width, height, {}}};
  region.picture.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int row = ink_y; row < ink_y + ink_h; ++row) {
    for (int col = ink_x; col < ink_x + ink_w; ++col) {
      region.picture.At(col, row) = kInk;
    }
  }
  return region;
}

struct Place {
  int x, y, width, height;
  friend bool operator==(const Place&, const Place&) = default;
};

std::vector<Place> Places(const std::vector<PlacedPicture>& objects) {
  std::vector<Place> places;
  for (const PlacedPicture& o : objects) {
    places.push_back({o.x, o.y, o.picture.width, o.picture.height});
  }
  return places;
}

TEST(ObjectLayout, ObjectsAreTrimmedToTheirInkAndCutToTheFrame) {
  const PlacedPicture regions[] = {
      Region(100, 900, 400, 100, 10, 20, 300, 40),  // transparent border trimmed
      Region(1900, 1060, 100, 40, 0, 0, 100, 40),   // hanging off the corner
  };
  EXPECT_EQ(Places(LayOutObjects(regions, 1920, 1080)),
            (std::vector<Place>{{110, 920, 300, 40}, {1900, 1060, 20, 20}}));
}

TEST(ObjectLayout, NothingVisibleOnTheFrameOrMalformedGivesNoObject) {
  PlacedPicture short_of_pixels = Region(10, 10, 50, 50, 0, 0, 50, 50);
  short_of_pixels.picture.pixels.resize(49 * 50);
  const PlacedPicture regions[] = {Region(2000, 10, 50, 50, 0, 0, 50, 50),
                                   Region(10, 10, 50, 50, 0, 0, 0, 0), short_of_pixels};
  EXPECT_TRUE(LayOutObjects(regions, 1920, 1080).empty());
}

TEST(ObjectLayout, TinyInkIsWidenedToTheSmallestObjectInsideTheFrame) {
  const PlacedPicture regions[] = {Region(1916, 0, 4, 1, 0, 0, 4, 1)};
  EXPECT_EQ(Places(LayOutObjects(regions, 1920, 1080)), (std::vector<Place>{{1912, 0, 8, 8}}));
}

TEST(ObjectLayout, ThreeRegionsOrTwoOverlappingBecomeOneDrawnInOrder) {
  const PlacedPicture three[] = {Region(0, 0, 10, 10, 0, 0, 10, 10),
                                 Region(100, 0, 10, 10, 0, 0, 10, 10),
                                 Region(0, 100, 10, 10, 0, 0, 10, 10)};
  EXPECT_EQ(Places(LayOutObjects(three, 1920, 1080)), (std::vector<Place>{{0, 0, 110, 110}}));

  PlacedPicture under = Region(0, 0, 20, 20, 0, 0, 20, 20);
  PlacedPicture over = Region(10, 10, 20, 20, 0, 0, 20, 20);
  for (Rgba& p : over.picture.pixels) {
    p = {255, 0, 0, 128};
  }
  const PlacedPicture overlapping[] = {under, over};
  const std::vector<PlacedPicture> merged = LayOutObjects(overlapping, 1920, 1080);
  ASSERT_EQ(Places(merged), (std::vector<Place>{{0, 0, 30, 30}}));
  EXPECT_EQ(merged[0].picture.At(5, 5), kInk);
  EXPECT_EQ(merged[0].picture.At(15, 15), (Rgba{255, 127, 127, 255}));
  EXPECT_EQ(merged[0].picture.At(25, 25), (Rgba{255, 0, 0, 128}));
  EXPECT_EQ(merged[0].picture.At(25, 5).a, 0);
}

TEST(ObjectLayout, TwoApartRegionsStayTwoObjects) {
  const PlacedPicture regions[] = {Region(100, 50, 200, 60, 0, 0, 200, 60),
                                   Region(100, 900, 200, 60, 0, 0, 200, 60)};
  EXPECT_EQ(Places(LayOutObjects(regions, 1920, 1080)),
            (std::vector<Place>{{100, 50, 200, 60}, {100, 900, 200, 60}}));
}

// Regions handed over whole are cut in their own pixels; each case must
// give the objects, pixels and all, that laying out copies gives: a border
// cut on every side, rows only cut (the same width), a region off the
// frame's corner, ink widened past the region's own pixels, and regions
// merged. Every pixel differs, so a row moved to the wrong place shows.
TEST(ObjectLayout, RegionsHandedOverGiveTheObjectsOfCopiedOnes) {
  const auto painted = [](PlacedPicture region) {
    for (std::size_t i = 0; i < region.picture.pixels.size(); ++i) {
      Rgba& pixel = region.picture.pixels[i];
      if (pixel.a != 0) {
        pixel = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8),
                 static_cast<std::uint8_t>(i >> 16), static_cast<std::uint8_t>(1 + i % 255)};
      }
    }
    return region;
  };
  const std::vector<std::vector<PlacedPicture>> cases{
      {painted(Region(100, 900, 400, 100, 10, 20, 300, 40))},
      {painted(Region(100, 900, 300, 100, 0, 30, 300, 50))},
      {painted(Region(1850, 1030, 100, 80, 5, 5, 95, 75))},
      {painted(Region(600, 500, 6, 5, 1, 1, 3, 3))},
      {painted(Region(100, 100, 300, 60, 10, 10, 200, 40)),
       painted(Region(100, 300, 300, 60, 0, 0, 300, 60)),
       painted(Region(100, 700, 300, 60, 20, 5, 100, 30))},
      {painted(Region(100, 800, 500, 60, 0, 10, 480, 40)),
       painted(Region(200, 950, 500, 60, 30, 0, 400, 50))}};
  for (std::size_t c = 0; c < cases.size(); ++c) {
    SCOPED_TRACE(c);
    const std::vector<PlacedPicture> copied = LayOutObjects(std::span(cases[c]), 1920, 1080);
    std::vector<PlacedPicture> given = cases[c];
    const std::vector<PlacedPicture> cut = LayOutObjects(std::move(given), 1920, 1080);
    ASSERT_FALSE(copied.empty());
    ASSERT_EQ(Places(cut), Places(copied));
    for (std::size_t i = 0; i < cut.size(); ++i) {
      EXPECT_TRUE(cut[i].picture.pixels == copied[i].picture.pixels) << "object " << i;
      EXPECT_EQ(cut[i].forced, copied[i].forced);
    }
  }
}

}  // namespace
}  // namespace tesmora::pgs
