// The main window on screens too small for its design size.
#include "app/WindowFit.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <string>
#include <utility>

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
  // 1366 x 768 at 150 %: narrower than the design.
  EXPECT_EQ(FittedClientSize(QSize(910, 482), kFrame), QSize(908, 457));
  // Never narrower than the control rows, nor lower than the choices column
  // below the style row and room for a few rows of the list.
  EXPECT_EQ(MinimumClientSize(), QSize(808, 128 + 238 + 60 + 3));
  EXPECT_EQ(FittedClientSize(QSize(640, 200), kFrame), MinimumClientSize());
}

TEST(WindowFit, ScalesThePreviewToTheRoomBelowTheControlRows) {
  EXPECT_EQ(PreviewPlace(QSize(960, 705), QSize(720, 576)), QRect(40, 126, 720, 576));
  EXPECT_EQ(PreviewPlace(QSize(960, 705), QSize(720, 480)), QRect(40, 126, 720, 480));
  // 665 client lines leave 536 for the frame: a factor of 536/576.
  EXPECT_EQ(PreviewPlace(QSize(960, 665), QSize(720, 576)), QRect(65, 126, 670, 536));
  EXPECT_EQ(PreviewPlace(QSize(960, 665), QSize(720, 480)), QRect(65, 126, 670, 447));
  EXPECT_EQ(PreviewPlace(MinimumClientSize(), QSize(720, 576)), QRect(136, 126, 375, 300));
  // A larger window shows the frame larger, centred across.
  EXPECT_EQ(PreviewPlace(QSize(1680, 1281), QSize(720, 576)), QRect(40, 126, 1440, 1152));
  EXPECT_EQ(PreviewPlace(QSize(1160, 705), QSize(720, 576)), QRect(140, 126, 720, 576));
  // The subtitle list stays beside the preview, below the choices, down to
  // the bottom.
  EXPECT_EQ(SubtitleListPlace(QSize(960, 705)), QRect(804, 330, 148, 372));
  EXPECT_EQ(SubtitleListPlace(QSize(1160, 465)), QRect(1004, 330, 148, 132));
  // The choices column keeps to the right edge above the list; in a window
  // narrower than the design it goes below the style row.
  EXPECT_EQ(ChoicesShift(QSize(960, 705)), QPoint(0, 0));
  EXPECT_EQ(ChoicesShift(QSize(1920, 1000)), QPoint(960, 0));
  EXPECT_EQ(ChoicesShift(QSize(908, 457)), QPoint(-52, 36));
  EXPECT_EQ(SubtitleListPlace(QSize(908, 457)), QRect(752, 366, 148, 88));
  EXPECT_EQ(PreviewPlace(QSize(908, 457), QSize(720, 576)), QRect(169, 126, 410, 328));
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

// Every control shown, in the window's client area and clear of the
// preview and of every other control it did not overlap at the design
// size, at every size from the smallest to a maximised 4K screen.
TEST_F(SmallScreenTest, TheLayoutGrowsAndShrinksWithoutCoveringAControl) {
  form.show();
  const auto shownControls = [this] {
    QList<QWidget*> controls;
    for (QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (child->isVisibleTo(&form) && child != form.preview && child->width() > 0) {
        controls << child;
      }
    }
    return controls;
  };
  const QList<QWidget*> controls = shownControls();
  QSet<std::pair<QWidget*, QWidget*>> overlapping;  // at the design size, on purpose
  for (QWidget* a : controls) {
    for (QWidget* b : controls) {
      if (a != b && a->geometry().intersects(b->geometry())) {
        overlapping << std::pair(a, b);
      }
    }
  }
  const QSize minimum = MinimumClientSize();
  for (const QSize size :
       {minimum, QSize(908, 457), QSize(959, 600), QSize(960, 705), QSize(1366, 705),
        QSize(1920, 1050), QSize(1280, 1400), QSize(3840, 2100)}) {
    form.resize(size);
    ASSERT_EQ(form.size(), size);
    const QRect client(QPoint(0, 0), size);
    EXPECT_TRUE(client.contains(form.preview->geometry()));
    for (QWidget* control : controls) {
      const std::string where = control->objectName().toStdString() + " at " +
                                std::to_string(size.width()) + "x" + std::to_string(size.height());
      EXPECT_TRUE(client.contains(control->geometry())) << where;
      EXPECT_FALSE(control->geometry().intersects(form.preview->geometry())) << where;
      for (QWidget* other : controls) {
        if (other != control && !overlapping.contains(std::pair(control, other))) {
          EXPECT_FALSE(control->geometry().intersects(other->geometry()))
              << where << " covers " << other->objectName().toStdString();
        }
      }
    }
  }
  // Maximised on a 1920 x 1080 screen, the preview takes the room left of
  // the column, and the column stays above the list.
  form.resize(1920, 1050);
  EXPECT_GT(form.preview->width(), 1100);
  EXPECT_EQ(form.CheckBoxTagsAsText->x(), form.ListBox1->x());
  EXPECT_LT(form.EditOutputName->geometry().bottom(), form.ListBox1->y());
}

}  // namespace
}  // namespace tesmora
