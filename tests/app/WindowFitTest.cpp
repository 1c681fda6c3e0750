// The main window on screens too small for its design size.
#include "app/WindowFit.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "app/TForm1.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QMargins kFrame(1, 24, 1, 1);

TEST(WindowFit, KeepsTheDesignSizeWhereItFitsAndShrinksTheHeightWhereNot) {
  EXPECT_EQ(FittedClientSize(QSize(1920, 1200), kFrame), QSize(960, 705));
  EXPECT_EQ(FittedClientSize(QSize(962, 730), kFrame), QSize(960, 705));
  // 1366 x 768 at 100 % with a 30-pixel panel.
  EXPECT_EQ(FittedClientSize(QSize(1366, 738), kFrame), QSize(960, 705));
  EXPECT_EQ(FittedClientSize(QSize(1366, 700), kFrame), QSize(960, 675));
  // 1920 x 1080 at 150 %: 1280 x 720 logical pixels, less a panel.
  EXPECT_EQ(FittedClientSize(QSize(1280, 690), kFrame), QSize(960, 665));
  // Never below the choices above the subtitle list and room for a few of
  // its rows.
  EXPECT_EQ(MinimumClientSize(), QSize(960, 254 + 60 + 3));
  EXPECT_EQ(FittedClientSize(QSize(640, 200), kFrame), MinimumClientSize());
}

TEST(WindowFit, ScalesThePreviewToTheRoomBelowTheControlRows) {
  EXPECT_EQ(PreviewPlace(QSize(960, 705), QSize(720, 576)), QRect(40, 126, 720, 576));
  EXPECT_EQ(PreviewPlace(QSize(960, 705), QSize(720, 480)), QRect(40, 126, 720, 480));
  // 665 client lines leave 536 for the frame: a factor of 536/576.
  EXPECT_EQ(PreviewPlace(QSize(960, 665), QSize(720, 576)), QRect(65, 126, 670, 536));
  EXPECT_EQ(PreviewPlace(QSize(960, 665), QSize(720, 480)), QRect(65, 126, 670, 447));
  EXPECT_EQ(PreviewPlace(MinimumClientSize(), QSize(720, 576)), QRect(282, 126, 235, 188));
  // A larger window shows the frame larger, centred across.
  EXPECT_EQ(PreviewPlace(QSize(1680, 1281), QSize(720, 576)), QRect(40, 126, 1440, 1152));
  EXPECT_EQ(PreviewPlace(QSize(1160, 705), QSize(720, 576)), QRect(140, 126, 720, 576));
  // The subtitle list stays beside the preview, below the choices, down to
  // the bottom.
  EXPECT_EQ(SubtitleListPlace(QSize(960, 705)), QRect(804, 254, 148, 448));
  EXPECT_EQ(SubtitleListPlace(QSize(1160, 465)), QRect(1004, 254, 148, 208));
}

const std::vector<CueToDraw> kSampleCue{{{"Lorvanto.", "Vessa Morane"}}};

class SmallScreenTest : public ::testing::Test {
 protected:
  testing::FakePlatform platform;
  TForm1 form{platform};
};

// On a small screen the window fits the area and the preview is shown
// smaller, but the frame it stands for is still drawn at its full size.
TEST_F(SmallScreenTest, FitsTheWindowAndDrawsTheFrameAtItsFullSize) {
  TForm1 large{platform};
  large.i_dont_have_ifo->setChecked(true);
  large.RenderCueFrame(kSampleCue, large.CurrentStyle());

  form.i_dont_have_ifo->setChecked(true);
  form.FitToArea(QRect(0, 0, 1280, 690));
  EXPECT_LE(form.height(), 690 - 24);
  EXPECT_EQ(form.width(), 960);
  EXPECT_LT(form.preview->height(), 576);
  EXPECT_EQ(form.preview->frameSize(), QSize(720, 576));
  form.RenderCueFrame(kSampleCue, form.CurrentStyle());
  EXPECT_EQ(form.KeyFrame().height(), 576);
  EXPECT_EQ(form.preview->picture(), large.preview->picture());
  EXPECT_EQ(form.LastEncodeArea().firstLine, large.LastEncodeArea().firstLine);
  EXPECT_EQ(form.LastEncodeArea().lineCount, large.LastEncodeArea().lineCount);

  form.RenderPreview("Lorvanto.", "Vessa Morane", form.CurrentStyle());
  large.RenderPreview("Lorvanto.", "Vessa Morane", large.CurrentStyle());
  EXPECT_EQ(form.preview->picture(), large.preview->picture());
}

TEST_F(SmallScreenTest, ThePreviewFollowsTheWindowsSizeAndStandard) {
  form.show();
  form.resize(960, 465);
  EXPECT_EQ(form.preview->geometry(), PreviewPlace(QSize(960, 465), QSize(720, 576)));
  EXPECT_EQ(form.ListBox1->geometry(), SubtitleListPlace(QSize(960, 465)));
  form.Ntsc->setChecked(true);
  EXPECT_EQ(form.preview->frameSize(), QSize(720, 480));
  EXPECT_EQ(form.preview->geometry(), PreviewPlace(QSize(960, 465), QSize(720, 480)));
  form.resize(960, 705);
  EXPECT_EQ(form.preview->geometry(), QRect(40, 126, 720, 480));
  form.resize(200, 100);
  EXPECT_EQ(form.size(), MinimumClientSize());
}

}  // namespace
}  // namespace tesmora
