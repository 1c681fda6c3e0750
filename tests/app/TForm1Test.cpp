#include "app/TForm1.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

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
  EXPECT_EQ(form.minimumSize(), QSize(808, 429));
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

// What a user sees of the controls: every one lies inside the window, no two
// cover each other, and every caption is shown whole. The two designed
// overlaps are a box drawn round a text and the caption of the IFO check
// box, which starts with blanks as wide as the box it sits over.
TEST_F(TForm1Test, ShowsEveryControlInsideTheWindowApartAndCaptionedWhole) {
  const QList<QWidget*> controls = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  std::vector<QWidget*> shown;
  for (QWidget* control : controls) {
    if (!control->isHidden() && !control->isWindow()) {
      shown.push_back(control);
    }
  }
  ASSERT_GT(shown.size(), 25u);
  const auto decorative = [](const QWidget* control) {
    return QLatin1String(control->metaObject()->className()) == QLatin1String("QFrame");
  };
  // Where a control shows: a picture label only where its picture lies.
  const auto seen = [](const QWidget* control) {
    const auto* label = qobject_cast<const QLabel*>(control);
    if (label != nullptr && !label->pixmap().isNull() &&
        label->alignment() == (Qt::AlignLeft | Qt::AlignTop)) {
      return QRect(label->pos(), label->pixmap().deviceIndependentSize().toSize()) &
             label->geometry();
    }
    return control->geometry();
  };
  const QRect window = form.rect();
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const QString name = shown[i]->objectName();
    EXPECT_FALSE(name.isEmpty());
    EXPECT_TRUE(window.contains(shown[i]->geometry())) << name.toStdString();
    for (std::size_t k = i + 1; k < shown.size(); ++k) {
      const QWidget* a = shown[i];
      const QWidget* b = shown[k];
      if (!seen(a).intersects(seen(b))) {
        continue;
      }
      const bool framed = (decorative(a) && a->geometry().contains(b->geometry())) ||
                          (decorative(b) && b->geometry().contains(a->geometry()));
      const bool ifoCaption = (a == form.no_ifo && b == form.i_dont_have_ifo) ||
                              (b == form.no_ifo && a == form.i_dont_have_ifo);
      EXPECT_TRUE(framed || ifoCaption)
          << a->objectName().toStdString() << " overlaps " << b->objectName().toStdString();
    }
    // Captions whole: a check box or radio button is as wide as its box and
    // caption need, a push button's caption fits within its frame, and a
    // label's text within its box.
    if (const auto* button = qobject_cast<const QAbstractButton*>(shown[i]);
        button != nullptr && !button->text().isEmpty()) {
      if (qobject_cast<const QPushButton*>(button) != nullptr) {
        EXPECT_GT(button->width() - 4,
                  QFontMetrics(button->font()).horizontalAdvance(button->text()))
            << name.toStdString();
      } else {
        EXPECT_GE(button->width(), button->sizeHint().width()) << name.toStdString();
      }
    }
    if (const auto* label = qobject_cast<const QLabel*>(shown[i]);
        label != nullptr && !label->text().isEmpty()) {
      const QFontMetrics metrics(label->font());
      if (label->wordWrap()) {
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name.toStdString();
      } else {
        EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << name.toStdString();
      }
    }
  }
  // The blanks that start the IFO caption leave the check box free.
  const QString caption = form.no_ifo->text();
  const qsizetype blanks = caption.size() - caption.trimmed().size();
  EXPECT_GE(form.no_ifo->geometry().left() +
                QFontMetrics(form.no_ifo->font()).horizontalAdvance(caption.left(blanks)),
            form.i_dont_have_ifo->geometry().right());
}

// The lists offer the choices the window is known by, and the sliders their
// ranges.
TEST_F(TForm1Test, OffersTheKnownChoices) {
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
  EXPECT_EQ(
      platform.dialogs[1].filter,
      QStringLiteral("*.srt;*.sub;*.txt;*.vtt;*.ass;*.ssa|*.srt;*.sub;*.txt;*.vtt;*.ass;*.ssa"));
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
