// The style controls' change handlers and the preview control.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include "app/TForm1.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

class PreviewHandlersTest : public ::testing::Test {
 protected:
  void choose(QComboBox* list, const QString& item) {
    const int index = list->findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  void loadSubtitles() {
    form.i_dont_have_ifo->click();
    form.LoadedCues = {{1000, 2000, {"First subtitle"}},
                       {4000, 2000, {"Second one", "in two lines"}}};
    form.ListBox1->addItems({"1", "2"});
    form.SubtitlesLoaded = true;
  }

  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(PreviewHandlersTest, TheLineGapSliderStaysEven) {
  form.offset_or->setValue(-13);
  EXPECT_EQ(form.offset_or->value(), -12);
  EXPECT_EQ(form.LabelOffset_Or->text(), QStringLiteral("-12"));
  form.offset_or->setValue(-1);
  EXPECT_EQ(form.offset_or->value(), 0);
  EXPECT_EQ(form.LabelOffset_Or->text(), QStringLiteral("0"));
  form.offset_or->setValue(9);
  EXPECT_EQ(form.offset_or->value(), 10);
  EXPECT_EQ(form.LabelOffset_Or->text(), QStringLiteral("10"));
}

TEST_F(PreviewHandlersTest, SlidersMoveTheirLabelsAndDrawOnlyWithAPalette) {
  form.LoadPreviewBackground();
  const QImage bare = form.preview->picture();
  form.offset->setValue(100);
  EXPECT_EQ(form.LabelOffset->text(), QStringLiteral("100"));
  EXPECT_EQ(form.preview->picture(), bare);

  form.i_dont_have_ifo->click();
  const QImage sampleAt100 = form.preview->picture();
  form.offset->setValue(30);
  EXPECT_NE(form.preview->picture(), sampleAt100);
  choose(form.ComboBoxAlign, "right");
  EXPECT_EQ(form.LabelOffset->text(), QStringLiteral("30"));
  EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(PreviewHandlersTest, AFontChangeRechecksTheLoadedSubtitlesUnderItsCaption) {
  loadSubtitles();
  QStringList captions;
  platform.onBox = [&] { captions << form.windowTitle(); };
  choose(form.ComboBox6, "30");
  EXPECT_EQ(platform.messages, QStringList{"Subtitle Style Modified/Loaded Successfully"});
  EXPECT_EQ(captions, QStringList{"Tesmora By Ovandel Checking Subtitle Length..."});
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Tesmora By Ovandel"));

  // A change of character set reads the file again and redraws, saying nothing.
  platform.messages.clear();
  choose(form.ComboBox7, "RUSSIAN");
  EXPECT_TRUE(platform.messages.isEmpty());
  // So do the outline width and the style, with the check.
  choose(form.ComboBoxOutlineWidth, "4");
  choose(form.ComboBox8, "Bold");
  EXPECT_EQ(platform.messages.size(), 2);
}

TEST_F(PreviewHandlersTest, AStyleTooWideForTheSampleMeasuresNoEntry) {
  loadSubtitles();
  form.SubtitlesLoaded = false;
  form.LoadedCues = {{0, 1000, {std::string(100, 'W')}}};
  choose(form.ComboBox6, "50");  // no subtitles loaded yet: no check
  EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(PreviewHandlersTest, TheSelectedSubtitleReplacesTheSample) {
  loadSubtitles();
  form.ListBox1->setCurrentRow(1);  // a click on the second entry
  const QImage selected = form.preview->picture();
  form.RedrawPreviewSelected();
  EXPECT_EQ(form.preview->picture(), selected);
  form.RedrawPreviewSample("Lorvanto.", "Vessa Morane");
  EXPECT_NE(form.preview->picture(), selected);
  choose(form.ComboBox1, "Color 2");  // sample, then the selected subtitle
  form.ComboBox1->setCurrentIndex(1);
  form.RedrawPreviewSelected();
  EXPECT_EQ(form.preview->picture(), selected);
}

// Clicks list entry `row` with the mouse, through the window system as a
// user's click comes, so the toolkit knows the button is down meanwhile.
void ClickEntry(TForm1& form, int row) {
  QListWidgetItem* item = form.ListBox1->item(row);
  form.ListBox1->scrollToItem(item);
  const QPoint at =
      form.ListBox1->viewport()->mapTo(&form, form.ListBox1->visualItemRect(item).center());
  QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

// Switching to another program and back keeps the drawn subtitle; coming
// back from the About window or a dialog puts the bare background back.
TEST_F(PreviewHandlersTest, OnlyAnActivationWithinTheProgramReloadsTheBackground) {
  loadSubtitles();
  form.ListBox1->setCurrentRow(1);
  const QImage selected = form.preview->picture();
  QEvent activate(QEvent::WindowActivate);

  emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
  emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
  QCoreApplication::sendEvent(&form, &activate);
  EXPECT_EQ(form.preview->picture(), selected);

  QCoreApplication::processEvents();
  QCoreApplication::sendEvent(&form, &activate);
  EXPECT_NE(form.preview->picture(), selected);
}

TEST_F(PreviewHandlersTest, EveryClickOnTheListDrawsItsEntryOnce) {
  loadSubtitles();
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  form.ListBox1->setCurrentRow(1);
  const QImage selected = form.preview->picture();

  // An activation within the program (the program's own start is over)
  // puts the bare background back; a click on the entry that is already
  // selected draws it again.
  QCoreApplication::processEvents();
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&form, &activate);
  ASSERT_NE(form.preview->picture(), selected);
  ClickEntry(form, 1);
  EXPECT_EQ(form.ListBox1->currentRow(), 1);
  EXPECT_EQ(form.preview->picture(), selected);

  // A click that moves the selection draws once: one message for an entry
  // too wide to draw.
  form.LoadedCues[0].lines = {std::string(100, 'W')};
  ClickEntry(form, 0);
  EXPECT_EQ(form.ListBox1->currentRow(), 0);
  EXPECT_EQ(platform.messages.size(), 1);
  ClickEntry(form, 0);
  EXPECT_EQ(platform.messages.size(), 2);

  // The keyboard moves the selection and draws too.
  form.ListBox1->setFocus();
  QTest::keyClick(form.ListBox1, Qt::Key_Down);
  EXPECT_EQ(form.ListBox1->currentRow(), 1);
  EXPECT_EQ(form.preview->picture(), selected);
  EXPECT_TRUE(platform.errors.isEmpty());
}

TEST_F(PreviewHandlersTest, AnErrorOfTheLineGapSliderIsShownOnce) {
  form.i_dont_have_ifo->click();
  QTemporaryDir folder;
  form.LabelImageChangedPAL->setText(
      testing::WriteFile(folder.filePath("broken.bmp"), "these are not pixels"));
  form.offset_or->setValue(-3);
  EXPECT_EQ(platform.errors, QStringList{"Bitmap image is not valid."});
  EXPECT_EQ(form.offset_or->value(), -2);
}

TEST(WithoutBottomLeftColour, LeavesOutTheKeyColour) {
  QImage frame(720, 480, QImage::Format_RGB888);
  frame.fill(QColor(0, 0, 255));
  frame.setPixel(100, 100, qRgb(255, 255, 255));
  const QImage shown = WithoutBottomLeftColour(frame);
  EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(shown.pixel(719, 479)), 0);
  EXPECT_EQ(shown.pixel(100, 100), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace tesmora
