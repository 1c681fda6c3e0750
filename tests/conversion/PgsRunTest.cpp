// The Blu-ray choices of a run: the video each line count and rate gives,
// and the high-definition style made from the DVD style's choices.
#include <gtest/gtest.h>

#include "conversion/PgsRun.h"

namespace tesmora {
namespace {

TEST(PgsVideo, EachFrameTakesItsUsualRateAndRefusesOthers) {
  struct Case {
    int lines;
    std::optional<double> fps;
    int width;
    pgs::FrameRateCode code;
    int numerator;
    int denominator;
  };
  const std::vector<Case> cases{
      {1080, std::nullopt, 1920, pgs::FrameRateCode::Film, 24000, 1001},
      {1080, 50.0, 1920, pgs::FrameRateCode::Pal50, 50, 1},
      {720, 59.94, 1280, pgs::FrameRateCode::Ntsc60, 60000, 1001},
      {576, std::nullopt, 720, pgs::FrameRateCode::Pal, 25, 1},
      {480, std::nullopt, 720, pgs::FrameRateCode::Ntsc, 30000, 1001},
  };
  for (const Case& c : cases) {
    const std::optional<PgsVideo> video = PgsVideoOf(c.lines, c.fps);
    ASSERT_TRUE(video.has_value()) << c.lines;
    EXPECT_EQ(video->format.width, c.width);
    EXPECT_EQ(video->format.height, c.lines);
    EXPECT_EQ(video->format.frame_rate, c.code) << c.lines;
    EXPECT_EQ(video->target.width, c.width);
    EXPECT_EQ(video->target.height, c.lines);
    EXPECT_EQ(video->target.rateNumerator, c.numerator) << c.lines;
    EXPECT_EQ(video->target.rateDenominator, c.denominator) << c.lines;
  }
  EXPECT_FALSE(PgsVideoOf(720, 25.0));
  EXPECT_FALSE(PgsVideoOf(576, 29.97));
  EXPECT_FALSE(PgsVideoOf(1080, 30.0));
  EXPECT_FALSE(PgsVideoOf(1440, std::nullopt));
  EXPECT_EQ(PgsRatesOf(480), "29.97");
}

TEST(PgsStyle, TakesTheDvdChoicesWithTextAndOutlineColoursApart) {
  SubtitleStyle style;
  style.fontName = QStringLiteral("DejaVu Serif");
  style.size = 30;
  style.style = FontStyle{true, true, false, true};
  style.align = QStringLiteral("left");
  style.offset = 60;
  const HdStyle hd = HdStyleOf(style, 4, Rgb{250, 240, 10}, Rgb{20, 30, 40});
  EXPECT_EQ(hd.fontName, QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(hd.points, 30);
  EXPECT_TRUE(hd.bold);
  EXPECT_TRUE(hd.italic);
  EXPECT_FALSE(hd.underline);
  EXPECT_TRUE(hd.strikeOut);
  EXPECT_EQ(hd.text, (Rgb{250, 240, 10}));
  EXPECT_EQ(hd.outline, (Rgb{20, 30, 40}));
  EXPECT_EQ(hd.outlineWidth, 4);
  EXPECT_EQ(hd.alignment, 1);
  EXPECT_EQ(hd.marginVertical, 60);
}

}  // namespace
}  // namespace tesmora
