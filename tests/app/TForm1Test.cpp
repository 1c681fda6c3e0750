#include "app/TForm1.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/Pictures.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

class TForm1Test : public ::testing::Test {
 protected:
  testing::FakePlatform platform;
  TForm1 form{platform};

  QString writeFile(const QString& name, const QByteArray& bytes) {
    return testing::WriteFile(folder.filePath(name), bytes);
  }

  QString writePicture(const QString& name, QSize size, QColor colour) {
    QImage picture(size, QImage::Format_RGB888);
    picture.fill(colour);
    const QString path = folder.filePath(name);
    EXPECT_TRUE(picture.save(path, "BMP"));
    return path;
  }

  QTemporaryDir folder;
};

QImage BuiltIn(const char* name) {
  return BuiltInPicture(QString::fromLatin1(name)).convertToFormat(QImage::Format_RGB888);
}

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) {
    items << list->itemText(i);
  }
  return items;
}

TEST_F(TForm1Test, StartsWithTheDefaults) {
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Tesmora By Ovandel"));
  EXPECT_EQ(form.size(), QSize(960, 705));
  // As narrow as the control rows, with the choices column below the style row.
  EXPECT_EQ(form.minimumSize(), QSize(808, 353));
  for (const QComboBox* role : {form.ComboBox1, form.ComboBox2, form.ComboBox3, form.ComboBox4}) {
    EXPECT_EQ(role->count(), 16);
    EXPECT_EQ(role->currentText(), QStringLiteral("Color 0"));
  }
  EXPECT_EQ(form.ComboBox8->currentText(), QStringLiteral("Normal"));
  EXPECT_EQ(form.ComboBox6->currentText(), QStringLiteral("22"));
  EXPECT_EQ(form.ComboBox7->currentText(), QStringLiteral("DEFAULT"));
  EXPECT_EQ(form.ComboBoxAlign->currentText(), QStringLiteral("center"));
  EXPECT_EQ(form.ComboBoxOutlineWidth->currentText(), QStringLiteral("3"));
  EXPECT_EQ(form.offset->value(), 30);
  EXPECT_EQ(form.offset_or->value(), -4);
  EXPECT_EQ(form.LabelOffset->text(), QStringLiteral("30"));
  EXPECT_EQ(form.LabelOffset_Or->text(), QStringLiteral("-4"));
  EXPECT_EQ(form.ComboBox5->itemText(0), QStringLiteral("Arial"));
  EXPECT_EQ(form.ComboBox5->currentIndex(), 0);
  EXPECT_GT(form.ComboBox5->count(), 1);

  EXPECT_TRUE(form.Pal->isChecked());
  EXPECT_FALSE(form.Pal->isEnabled());
  EXPECT_FALSE(form.Ntsc->isEnabled());
  EXPECT_TRUE(form.Button1->isEnabled());
  EXPECT_FALSE(form.i_dont_have_ifo->isChecked());
  EXPECT_TRUE(form.CheckBox4->isChecked());
  for (const QCheckBox* box : {form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4}) {
    EXPECT_FALSE(box->isEnabled());
    EXPECT_EQ(box->text(), QStringLiteral("Trasparent"));
  }
  EXPECT_FALSE(form.PaletteReady);
  EXPECT_FALSE(form.NoIfoChosen);
  EXPECT_FALSE(form.MonochromeIfo);
  EXPECT_FALSE(form.SubtitlesLoaded);
  EXPECT_TRUE(form.AllLinesFit);
  EXPECT_FALSE(form.FrameRateMissing);
  EXPECT_EQ(form.preview->geometry(), QRect(40, 126, 720, 576));
  EXPECT_EQ(form.colors->pixmap().size(), QSize(70, 70));
  EXPECT_TRUE(form.LabelImageChangedPAL->text().isEmpty());
  EXPECT_TRUE(form.LabelImageChangedNTSC->text().isEmpty());
  EXPECT_EQ(form.ProgressBar1->toolTip(), QStringLiteral("ProgressBar"));
  EXPECT_EQ(form.ProgressBar1->maximum(), 100);
}

TEST_F(TForm1Test, PlacesTheControlsWhereTheLayoutSays) {
  const std::vector<std::pair<QWidget*, QRect>> expected = {
      {form.Edit1, {8, 5, 84, 15}},
      {form.Button1, {8, 20, 84, 20}},
      {form.i_dont_have_ifo, {94, 0, 15, 17}},
      {form.no_ifo, {94, 0, 96, 39}},
      {form.Pal, {94, 39, std::max(41, form.Pal->sizeHint().width()), 14}},
      {form.Ntsc, {136, 39, std::max(41, form.Ntsc->sizeHint().width()), 14}},
      {form.ComboBox1, {196, 16, 81, 21}},
      {form.CheckBox4, {460, 37, std::max(73, form.CheckBox4->sizeHint().width()), 17}},
      {form.Shape2, {552, 2, 100, 82}},
      {form.Info, {554, 16, 96, 67}},
      {form.colors, {664, 14, 73, 73}},
      {form.ButtonAbout, {745, 4, 54, 25}},
      {form.BitBtnSetDefaultValues, {745, 32, 54, 25}},
      {form.BitBtnChangeImage, {744, 60, 54, 25}},
      {form.Shape1, {8, 85, 944, 2}},
      {form.Button2, {8, 106, 84, 18}},
      {form.ComboBox7, {204, 102, 100, 22}},
      {form.ComboBox6, {410, 102, 48, 21}},
      {form.ComboBoxAlign, {466, 102, 60, 22}},
      {form.offset, {534, 108, 70, 17}},
      {form.offset_or, {612, 90, 15, 36}},
      {form.ComboBoxOutlineWidth, {660, 102, 44, 21}},
      {form.ProgressBar1, {712, 91, 84, 15}},
      {form.Button3, {712, 106, 84, 18}},
      {form.ListBox1, {804, 254, 148, 448}},
  };
  for (const auto& [control, rect] : expected) {
    EXPECT_EQ(control->geometry(), rect) << control->objectName().toStdString();
    EXPECT_FALSE(control->objectName().isEmpty());
  }
  EXPECT_EQ(form.LabelOffset->pos(), QPoint(576, 88));
  EXPECT_EQ(form.LabelOffset_Or->pos(), QPoint(630, 101));
  EXPECT_EQ(Items(form.ComboBox8),
            (QStringList{"Normal", "Bold", "Italic", "Underline", "Bold+Italic", "Bold+Under",
                         "Bold+It+Und", "Italic+Under", "StrikeOut"}));
  EXPECT_EQ(form.ComboBox7->count(), 19);
  EXPECT_EQ(form.ComboBox6->count(), 25);
  EXPECT_EQ(form.offset->minimum(), 8);
  EXPECT_EQ(form.offset->maximum(), 492);
  EXPECT_EQ(form.offset_or->minimum(), -14);
  EXPECT_EQ(form.offset_or->maximum(), 10);
}

// The sliders and picture buttons say what they do; a path cut short by
// its field is whole in the tooltip.
TEST_F(TForm1Test, TooltipsExplainTheWordlessControlsAndHoldWholePaths) {
  for (const QWidget* control :
       {static_cast<QWidget*>(form.offset), static_cast<QWidget*>(form.offset_or),
        static_cast<QWidget*>(form.BitBtnSetDefaultValues),
        static_cast<QWidget*>(form.BitBtnChangeImage)}) {
    EXPECT_FALSE(control->toolTip().isEmpty()) << control->objectName().toStdString();
  }
  const QString path = QStringLiteral("/home/user/work/films/harbour/VTS_01_0.IFO");
  form.Edit1->setText(path);
  EXPECT_EQ(form.Edit1->toolTip(), path);
  form.Edit2->setText(QStringLiteral("/home/user/work/harbour.srt"));
  EXPECT_EQ(form.Edit2->toolTip(), QStringLiteral("/home/user/work/harbour.srt"));
  EXPECT_EQ(TForm1(platform).Edit2->toolTip(), QStringLiteral("Load SRT"));
}

TEST_F(TForm1Test, DefaultsButtonResetsChoicesButKeepsTheFontList) {
  const QStringList fonts = Items(form.ComboBox5);
  form.ComboBox5->setCurrentIndex(fonts.size() - 1);
  form.ComboBox6->setCurrentIndex(0);
  form.ComboBox3->setCurrentIndex(7);
  form.offset->setValue(100);
  form.PaletteReady = true;
  form.SubtitlesLoaded = true;
  form.AllLinesFit = false;
  form.LabelImageChangedPAL->setText(QStringLiteral("/somewhere/own.bmp"));

  form.BitBtnSetDefaultValues->click();
  form.BitBtnSetDefaultValues->click();

  EXPECT_EQ(Items(form.ComboBox5), fonts);
  EXPECT_EQ(form.ComboBox5->currentText(), QStringLiteral("Arial"));
  EXPECT_EQ(form.ComboBox6->currentText(), QStringLiteral("22"));
  EXPECT_EQ(form.ComboBox3->currentText(), QStringLiteral("Color 0"));
  EXPECT_EQ(form.offset->value(), 30);
  EXPECT_FALSE(form.PaletteReady);
  EXPECT_FALSE(form.SubtitlesLoaded);
  EXPECT_TRUE(form.AllLinesFit);
  EXPECT_TRUE(form.LabelImageChangedPAL->text().isEmpty());
  EXPECT_TRUE(platform.errors.isEmpty());
}

// Alt+L, Alt+S and Alt+G press the three main buttons, whose captions read
// as they always did.
TEST_F(TForm1Test, AltShortcutsPressTheMainButtons) {
  const auto shown = [](const QPushButton* button) { return button->text().remove('&'); };
  EXPECT_EQ(shown(form.Button1), QStringLiteral("Load Ifo"));
  EXPECT_EQ(shown(form.Button2), QStringLiteral("Load Srt ,Sub"));
  EXPECT_EQ(shown(form.Button3), QStringLiteral("Generate Sup"));
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  // A shortcut presses its button as a click would be shown, a moment later.
  const auto press = [this](Qt::Key key) {
    const std::size_t dialogs = platform.dialogs.size();
    const qsizetype messages = platform.messages.size();
    QTest::keyClick(&form, key, Qt::AltModifier);
    return QTest::qWaitFor(
        [&] { return platform.dialogs.size() > dialogs || platform.messages.size() > messages; });
  };
  ASSERT_TRUE(press(Qt::Key_L));
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].filter, QStringLiteral("ifo|*.ifo"));
  ASSERT_TRUE(press(Qt::Key_S));
  ASSERT_EQ(platform.dialogs.size(), 2u);
  EXPECT_EQ(platform.dialogs[1].filter, QStringLiteral("*.srt;*.sub;*.txt|*.srt;*.sub;*.txt"));
  platform.messages.clear();
  ASSERT_TRUE(press(Qt::Key_G));
  EXPECT_EQ(platform.messages, QStringList{"Please load an Srt/Sub/Txt subtitle."});
}

TEST_F(TForm1Test, TheStandardSetsThePreviewSize) {
  form.Ntsc->setEnabled(true);
  form.Ntsc->click();
  EXPECT_EQ(form.preview->size(), QSize(720, 480));
  EXPECT_EQ(form.preview->picture().size(), QSize(720, 480));
  EXPECT_EQ(form.preview->picture(), BuiltIn("PreviewNtsc720x480"));
  form.Pal->setEnabled(true);
  form.Pal->click();
  EXPECT_EQ(form.preview->size(), QSize(720, 576));
  EXPECT_EQ(form.preview->picture(), BuiltIn("PreviewPal720x576"));
}

TEST_F(TForm1Test, CancellingBothPictureDialogsChangesNothing) {
  form.LoadPreviewBackground();
  const QImage before = form.preview->picture();
  form.BitBtnChangeImage->click();
  ASSERT_EQ(platform.dialogs.size(), 2u);
  EXPECT_EQ(platform.dialogs[0].title, QStringLiteral("Load 720x576 PAL image"));
  EXPECT_EQ(platform.dialogs[0].filter, QStringLiteral("Load your PAL 720x576 BMP|*.bmp"));
  EXPECT_EQ(platform.dialogs[1].title, QStringLiteral("Load 720x480 NTSC image"));
  EXPECT_EQ(platform.dialogs[1].filter, QStringLiteral("Load your NTSC 720x480 BMP|*.bmp"));
  EXPECT_TRUE(form.LabelImageChangedPAL->text().isEmpty());
  EXPECT_TRUE(form.LabelImageChangedNTSC->text().isEmpty());
  EXPECT_EQ(form.preview->picture(), before);
  EXPECT_TRUE(platform.errors.isEmpty());
}

TEST_F(TForm1Test, OwnPicturesAreShownAndKeptByTheDialogs) {
  const QString pal = writePicture(QStringLiteral("pal.bmp"), {720, 576}, Qt::darkGreen);
  const QString ntsc = writePicture(QStringLiteral("ntsc.bmp"), {720, 480}, Qt::darkRed);
  platform.chosenFiles = {pal, ntsc};
  form.BitBtnChangeImage->click();
  EXPECT_EQ(form.LabelImageChangedPAL->text(), pal);
  EXPECT_EQ(form.LabelImageChangedNTSC->text(), ntsc);
  EXPECT_EQ(form.OpenDialogImagePAL.fileName, pal);
  EXPECT_EQ(form.preview->picture().pixelColor(10, 10), QColor(Qt::darkGreen));

  form.Ntsc->setEnabled(true);
  form.Ntsc->click();
  EXPECT_EQ(form.preview->picture().pixelColor(10, 10), QColor(Qt::darkRed));
}

TEST_F(TForm1Test, AnOwnPictureWhoseFileIsGoneFallsBackButKeepsItsPath) {
  const QString gone = folder.filePath(QStringLiteral("gone.bmp"));
  form.LabelImageChangedPAL->setText(gone);
  form.LoadPreviewBackground();
  EXPECT_EQ(form.preview->picture(), BuiltIn("PreviewPal720x576"));
  EXPECT_EQ(form.LabelImageChangedPAL->text(), gone);
  EXPECT_TRUE(platform.errors.isEmpty());
}

TEST_F(TForm1Test, AnOwnPictureThatIsNoPictureShowsTheErrorAndKeepsThePath) {
  const QString text = writeFile(QStringLiteral("notes.bmp"), "these are not pixels");
  platform.chosenFiles = {text, std::nullopt};
  form.BitBtnChangeImage->click();
  EXPECT_EQ(platform.errors, QStringList{"Bitmap image is not valid."});
  // The error ended the handler before the second dialog.
  EXPECT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(form.LabelImageChangedPAL->text(), text);

  // The defaults button is the way back to the built-in picture.
  form.BitBtnSetDefaultValues->click();
  EXPECT_TRUE(form.LabelImageChangedPAL->text().isEmpty());
  EXPECT_EQ(form.preview->picture(), BuiltIn("PreviewPal720x576"));
}

TEST_F(TForm1Test, ARepeatedActivationErrorIsShownOnce) {
  const QString text = writeFile(QStringLiteral("broken.bmp"), "BM but not really");
  form.LabelImageChangedPAL->setText(text);
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&form, &activate);
  QCoreApplication::sendEvent(&form, &activate);
  EXPECT_EQ(platform.errors, QStringList{"Bitmap image is not valid."});
}

}  // namespace
}  // namespace tesmora
