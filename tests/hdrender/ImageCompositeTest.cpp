// libass's image list composited into at most two straight-alpha regions.
#include "hdrender/ImageComposite.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tesmora {
namespace {

// An image list of solid rectangles, each with its colour and coverage.
class Images {
 public:
  // colour as libass gives it: RRGGBBAA with AA 0 for opaque.
  Images& add(int x, int y, int w, int h, std::uint32_t colour, unsigned char coverage) {
    bitmaps_.emplace_back(static_cast<std::size_t>(w) * h, coverage);
    ASS_Image image{};
    image.w = w;
    image.h = h;
    image.stride = w;
    image.bitmap = bitmaps_.back().data();
    image.color = colour;
    image.dst_x = x;
    image.dst_y = y;
    images_.push_back(image);
    return *this;
  }
  const ASS_Image* list() {
    for (std::size_t i = 0; i < images_.size(); ++i) {
      images_[i].bitmap = bitmaps_[i].data();
      images_[i].next = i + 1 < images_.size() ? &images_[i + 1] : nullptr;
    }
    return images_.empty() ? nullptr : images_.data();
  }

 private:
  std::vector<std::vector<unsigned char>> bitmaps_;
  std::vector<ASS_Image> images_;
};

std::array<int, 4> Pixel(const RgbaRegion& region, int x, int y) {
  const Rgba& p = region.pixel(x - region.x, y - region.y);
  return {p.r, p.g, p.b, p.a};
}

TEST(CompositeImages, LaysImagesOverEachOtherWithStraightAlpha) {
  Images images;
  images
      .add(10, 20, 4, 2, 0x000000FF - 0xFF, 255)  // opaque black outline
      .add(11, 20, 2, 2, 0xFFFFFF00, 128)         // half-covered white text on it
      .add(13, 21, 1, 1, 0xFF000080, 255);        // half-transparent red on the outline
  const std::vector<RgbaRegion> regions = CompositeImages(images.list());
  ASSERT_EQ(regions.size(), 1u);
  const RgbaRegion& region = regions[0];
  EXPECT_EQ((std::array{region.x, region.y, region.width, region.height}),
            (std::array{10, 20, 4, 2}));
  EXPECT_EQ(Pixel(region, 10, 20), (std::array{0, 0, 0, 255}));
  EXPECT_EQ(Pixel(region, 11, 21), (std::array{128, 128, 128, 255}));
  EXPECT_EQ(Pixel(region, 13, 21), (std::array{127, 0, 0, 255}));

  // Over nothing, a partial image keeps its colour and takes its alpha.
  Images alone;
  alone.add(0, 0, 1, 1, 0x20408000 + 0x40, 200);
  const std::vector<RgbaRegion> one = CompositeImages(alone.list());
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(Pixel(one[0], 0, 0), (std::array{0x20, 0x40, 0x80, 150}));  // 200 * 191 / 255
  EXPECT_TRUE(CompositeImages(nullptr).empty());
}

TEST(CompositeImages, KeepsATopAndABottomCueApartAndJoinsTheNearestBeyondTwo) {
  Images twoCues;
  twoCues.add(100, 50, 300, 40, 0xFFFFFF00, 255)
      .add(98, 48, 304, 44, 0x00000000, 255)  // its outline, overlapping it
      .add(200, 900, 500, 40, 0xFFFFFF00, 255)
      .add(200, 0, 0, 0, 0xFFFFFF00, 255);  // an empty image adds nothing
  std::vector<RgbaRegion> regions = CompositeImages(twoCues.list());
  ASSERT_EQ(regions.size(), 2u);
  EXPECT_EQ((std::array{regions[0].x, regions[0].y, regions[0].width, regions[0].height}),
            (std::array{98, 48, 304, 44}));
  EXPECT_EQ((std::array{regions[1].x, regions[1].y, regions[1].width, regions[1].height}),
            (std::array{200, 900, 500, 40}));
  // The outline drawn after the text covers it here, as the list orders it.
  EXPECT_EQ(Pixel(regions[0], 150, 60), (std::array{0, 0, 0, 255}));

  Images three;
  three.add(0, 0, 10, 10, 0xFFFFFF00, 255)
      .add(0, 500, 10, 10, 0xFFFFFF00, 255)
      .add(5, 530, 10, 10, 0xFFFFFF00, 255);
  regions = CompositeImages(three.list());
  ASSERT_EQ(regions.size(), 2u);
  EXPECT_EQ((std::array{regions[1].x, regions[1].y, regions[1].width, regions[1].height}),
            (std::array{0, 500, 15, 40}));
  EXPECT_EQ(Pixel(regions[1], 12, 505), (std::array{0, 0, 0, 0}));  // between them: clear
  EXPECT_EQ(Pixel(regions[1], 12, 535), (std::array{255, 255, 255, 255}));
}

}  // namespace
}  // namespace tesmora
