// The settings file: its INI form, what a restart restores, and saving it.
#include <gtest/gtest.h>

#include <QTest>

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/TForm1.h"
#include "app/WindowFit.h"
#include "files/FileAccess.h"
#include "files/FileNames.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

TEST(IniFile, KeepsValuesAsWrittenAndEverythingItDoesNotChange) {
  IniFile file = IniFile::Parse(
      "; a comment\r\n[Other]\r\nkeep=me\r\n\r\n[form1]\r\nComboBox6_ItemIndex=3\r\n"
      "Path=C:\\films\\a \"b\"=c.bmp\r\n");
  EXPECT_EQ(file.value("Form1", "combobox6_itemindex"), QByteArray("3"));
  EXPECT_EQ(file.value("Form1", "Path"), QByteArray("C:\\films\\a \"b\"=c.bmp"));
  EXPECT_EQ(file.value("Form1", "Missing"), std::nullopt);
  EXPECT_EQ(file.value("Nowhere", "keep"), std::nullopt);
  file.setValue("Form1", "ComboBox6_ItemIndex", "4");
  file.setValue("Form1", "New", " spaced value ");
  file.setValue("Third", "x", "1");
  file.remove("FORM1", "path");
  file.remove("Other", "missing");
  file.remove("Missing", "keep");
  EXPECT_EQ(file.text(),
            "; a comment\r\n[Other]\r\nkeep=me\r\n\r\n[form1]\r\nComboBox6_ItemIndex=4\r\n"
            "New= spaced value \r\n\r\n[Third]\r\nx=1\r\n");
}

// Any encoding, any line ending, a missing last line break: what the program
// does not change is written back byte for byte, and what it adds follows the
// file's own line ending.
TEST(IniFile, KeepsTheBytesAndLineEndingsOfTheFile) {
  const QByteArray kinds[] = {
      "\xEF\xBB\xBF[Other]\nname=J\xE9r\xF4me\n\n[Form1]\r\nk=\xFF\rlast=1",
      "",
      "\n\r\n\r",
      "no line break",
  };
  for (const QByteArray& bytes : kinds) {
    EXPECT_EQ(IniFile::Parse(bytes).text(), bytes);
  }

  IniFile file =
      IniFile::Parse("[Other]\nname=J\xE9r\xF4me\n[Form1]\n  Size = 3\nk=\xFF\r\nlast=1");
  EXPECT_EQ(file.value("Other", "name"), QByteArray("J\xE9r\xF4me"));
  file.setValue("Form1", "k", "\xFF");  // as it is
  file.setValue("Form1", "size", "4");
  file.setValue("Form1", "added", "\xE9");
  file.setValue("New", "x", "1");
  EXPECT_EQ(file.text(),
            "[Other]\nname=J\xE9r\xF4me\n[Form1]\n  Size =4\nk=\xFF\r\nlast=1\nadded=\xE9\n\n"
            "[New]\nx=1\n");
}

TEST(SettingsFilePath, UsesTheProgramFolderOnlyWhenItCanBeWritten) {
  QTemporaryDir program;
  EXPECT_EQ(SettingsFilePath(program.path(), "/home/u/.config/Tesmora"),
            program.filePath("Tesmora_Settings.ini"));
  EXPECT_EQ(SettingsFilePath(program.filePath("missing"), "/home/u/.config/Tesmora"),
            QStringLiteral("/home/u/.config/Tesmora/Tesmora_Settings.ini"));
}

class SettingsTest : public ::testing::Test {
 protected:
  QString path() const { return folder.filePath("Tesmora_Settings.ini"); }
  void writeSettings(const QByteArray& text) { testing::WriteFile(path(), text); }
  QByteArray savedSettings() { return testing::ReadFile(path()); }

  QTemporaryDir folder;
  testing::FakePlatform platform;
};

TEST_F(SettingsTest, AFirstRunWritesAllSixteenKeysWithTheDefaults) {
  {
    TForm1 form(platform, path());
    form.show();
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  const IniFile saved = IniFile::Parse(savedSettings());
  const std::pair<const char*, const char*> expected[] = {
      {"ComboBox5_ItemIndex", "0"},
      {"ComboBox6_ItemIndex", "8"},
      {"ComboBox7_ItemIndex", "4"},
      {"ComboBox8_ItemIndex", "0"},
      {"ComboBoxOutlineWidth_ItemIndex", "1"},
      {"ComboBoxAlign_ItemIndex", "0"},
      {"offset_Position", "30"},
      {"offset_or_Position", "-4"},
      {"LabelImageChangedPAL_Caption", ""},
      {"LabelImageChangedNTSC_Caption", ""},
      {"FormVersion", "0"},
      {"ShowCmd", "1"},
      {"Flags", "0"},
      {"MinMaxPos", "-1,-1,-1,-1"},
  };
  for (const auto& [key, value] : expected) {
    EXPECT_EQ(saved.value("Form1", key), QByteArray(value)) << key;
  }
  EXPECT_TRUE(saved.value("Form1", "PixelsPerInch").has_value());
  EXPECT_EQ(saved.value("Form1", "NormPos").value_or(QByteArray()).split(',').size(), 4);
  EXPECT_TRUE(savedSettings().endsWith("\r\n"));
}

// The offscreen test screen is 1920 x 1200 at 96 dots per inch.
TEST_F(SettingsTest, APlaceIsRestoredOnlyWhereAScreenShowsIt) {
  const auto placedAt = [](const QByteArray& normPos) {
    testing::FakePlatform platform;
    TForm1 form(platform);
    const QPoint centred = form.pos();
    RestoreSettings(form,
                    IniFile::Parse("[Form1]\r\nPixelsPerInch=96\r\nNormPos=" + normPos + "\r\n"));
    return form.pos() == centred ? QPoint(-1, -1) : form.pos();
  };
  EXPECT_EQ(placedAt("100,50,1076,785"), QPoint(100, 50));
  EXPECT_EQ(placedAt("900,400,1876,1135"), QPoint(900, 400));
  // A second monitor that is gone, a title bar above the screen, a window
  // all but off its left edge, one half off the screen with its title bar
  // on it, a place that is no number: centred.
  EXPECT_EQ(placedAt("2100,100,3076,835"), QPoint(-1, -1));
  EXPECT_EQ(placedAt("100,-30,1076,705"), QPoint(-1, -1));
  EXPECT_EQ(placedAt("-940,100,36,835"), QPoint(-1, -1));
  EXPECT_EQ(placedAt("1800,1100,2776,1835"), QPoint(-1, -1));
  EXPECT_EQ(placedAt("1500,300,2476,1035"), QPoint(-1, -1));
  EXPECT_EQ(placedAt("100,x,1076,835"), QPoint(-1, -1));
}

// A window shown, closed and started again comes up where it was: the place
// saved is the frame's, and the frame goes back there, not the client area,
// start after start.
TEST_F(SettingsTest, EveryStartRestoresTheFrameWhereItWasSaved) {
  QPoint frameAt(300, 200);
  for (int start = 0; start < 3; ++start) {
    TForm1 form(platform, path());
    if (start == 0) {
      form.move(frameAt);
    }
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_NE(form.frameGeometry(), form.geometry());
    EXPECT_EQ(form.frameGeometry().topLeft(), frameAt) << "start " << start;
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
    frameAt = form.frameGeometry().topLeft();
  }
  EXPECT_TRUE(savedSettings().contains("NormPos=300,200,"));
}

TEST(WindowPlacement, NeedsTheTitleBarOnOneScreenAndMostOfTheWindowOnThem) {
  const QList<QRect> twoScreens{QRect(0, 0, 1366, 738), QRect(1366, 0, 1920, 1080)};
  const QList<QRect> oneScreen = twoScreens.mid(0, 1);
  EXPECT_TRUE(ShowsOnAScreen(QRect(2000, 300, 976, 735), twoScreens));
  EXPECT_FALSE(ShowsOnAScreen(QRect(2000, 300, 976, 735), oneScreen));
  // Across two screens, most of it on them.
  EXPECT_TRUE(ShowsOnAScreen(QRect(1000, 0, 976, 735), twoScreens));
  // Half the window off the right edge, the title bar within reach.
  EXPECT_FALSE(ShowsOnAScreen(QRect(878, 0, 976, 735), oneScreen));
  EXPECT_TRUE(ShowsOnAScreen(QRect(877, 0, 976, 735), oneScreen));
  EXPECT_FALSE(ShowsOnAScreen(QRect(1266, 0, 976, 735), oneScreen));
  // The title bar at or above the top edge.
  EXPECT_FALSE(ShowsOnAScreen(QRect(100, -11, 976, 735), oneScreen));
  EXPECT_TRUE(ShowsOnAScreen(QRect(100, -10, 976, 735), oneScreen));
  // Below the bottom edge.
  EXPECT_FALSE(ShowsOnAScreen(QRect(100, 400, 976, 735), oneScreen));
  EXPECT_TRUE(ShowsOnAScreen(QRect(100, 300, 976, 735), oneScreen));
  EXPECT_FALSE(ShowsOnAScreen(QRect(100, 100, 976, 735), {}));
}

TEST_F(SettingsTest, ARestartRestoresTheChoicesAndKeepsOtherKeys) {
  const QString gone = folder.filePath("gone.bmp");
  writeSettings(
      "[Form1]\r\nComboBox6_ItemIndex=0\r\nComboBox8_ItemIndex=4\r\n"
      "ComboBoxAlign_ItemIndex=2\r\noffset_Position=100\r\noffset_or_Position=3\r\n"
      "LabelImageChangedPAL_Caption=" +
      gone.toUtf8() + "\r\nSomethingElse=kept\r\n[Elsewhere]\r\na=b\r\n");
  {
    TForm1 form(platform, path());
    form.show();
    EXPECT_EQ(form.ComboBox6->currentText(), QStringLiteral("10"));
    EXPECT_EQ(form.ComboBox8->currentText(), QStringLiteral("Bold+Italic"));
    EXPECT_EQ(form.ComboBoxAlign->currentText(), QStringLiteral("right"));
    EXPECT_EQ(form.offset->value(), 100);
    EXPECT_EQ(form.LabelOffset->text(), QStringLiteral("100"));  // the slider's handler ran
    EXPECT_EQ(form.offset_or->value(), 4);
    EXPECT_EQ(form.LabelImageChangedPAL->text(), gone);
    EXPECT_EQ(form.preview->picture().size(), QSize(720, 576));  // the built-in picture
    EXPECT_TRUE(platform.errors.isEmpty());
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  const IniFile saved = IniFile::Parse(savedSettings());
  EXPECT_EQ(saved.value("Form1", "LabelImageChangedPAL_Caption"), gone.toUtf8());
  EXPECT_EQ(saved.value("Form1", "SomethingElse"), QByteArray("kept"));
  EXPECT_EQ(saved.value("Elsewhere", "a"), QByteArray("b"));
  EXPECT_EQ(saved.value("Form1", "offset_or_Position"), QByteArray("4"));
}

// The shift and the rate conversion of the last film do not come back with
// the next one, and leave the file.
TEST_F(SettingsTest, TheLastingChoicesKeepASectionOfTheirOwnAndAFilmsShiftIsNotKept) {
  writeSettings(
      "[Tesmora]\r\nEncoding=CP1251\r\nTagsAsText=1\r\nWrapLongLines=1\r\nShiftMs=-250\r\n"
      "ConvertFps=23.976:25\r\nVobSubAndPalette=1\r\nForced=1\r\nOutputName=film\r\n");
  {
    TForm1 form(platform, path());
    form.show();
    EXPECT_EQ(form.ComboBoxEncoding->currentText(), QStringLiteral("CP1251"));
    EXPECT_TRUE(form.CheckBoxTagsAsText->isChecked());
    EXPECT_TRUE(form.CheckBoxWrap->isChecked());
    EXPECT_EQ(form.SpinBoxShift->value(), 0);
    EXPECT_EQ(form.EditConvertFps->text(), QString());
    EXPECT_TRUE(form.CheckBoxVobSub->isChecked());
    EXPECT_TRUE(form.CheckBoxForced->isChecked());
    EXPECT_EQ(form.EditOutputName->text(), QStringLiteral("film"));
    form.CheckBoxForced->setChecked(false);
    form.SpinBoxShift->setValue(1500);
    form.EditConvertFps->setText(QStringLiteral("25:50"));
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  const IniFile saved = IniFile::Parse(savedSettings());
  EXPECT_EQ(saved.value("Tesmora", "Encoding"), QByteArray("CP1251"));
  EXPECT_EQ(saved.value("Tesmora", "Forced"), QByteArray("0"));
  EXPECT_EQ(saved.value("Tesmora", "OutputName"), QByteArray("film"));
  EXPECT_EQ(saved.value("Tesmora", "ShiftMs"), std::nullopt);
  EXPECT_EQ(saved.value("Tesmora", "ConvertFps"), std::nullopt);
  for (const char* key : {"Encoding", "Forced", "ShiftMs", "OutputName", "VobSubAndPalette"}) {
    EXPECT_EQ(saved.value("Form1", key), std::nullopt) << key;
  }
}

// A Blu-ray target comes back with the DVD's own controls disabled, and is
// saved as it was left.
TEST_F(SettingsTest, TheTargetComesBackWithTheControlsThatApply) {
  writeSettings("[Tesmora]\r\nTarget=bluray720\r\n");
  {
    TForm1 form(platform, path());
    form.show();
    EXPECT_EQ(form.ComboBoxTarget->currentText(), QStringLiteral("Blu-ray 720"));
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_FALSE(form.ComboBox3->isEnabled());
    form.ComboBoxTarget->setCurrentText(QStringLiteral("Blu-ray 1080"));
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  EXPECT_EQ(IniFile::Parse(savedSettings()).value("Tesmora", "Target"), QByteArray("bluray1080"));
}

// The Blu-ray choices outlast a save with the DVD chosen: the window holds
// them while the DVD is shown, writes them, and gives them back with the
// next Blu-ray target. A rate no Blu-ray video takes is not read.
TEST_F(SettingsTest, TheBluRayChoicesOutlastASaveWithTheDvdChosen) {
  {
    TForm1 form(platform, path());
    form.show();
    form.ComboBoxTarget->setCurrentText(QStringLiteral("Blu-ray 1080"));
    form.ComboBoxBluRayFiles->setCurrentIndex(0);  // the stream alone
    form.ComboBoxVideoRate->setCurrentText(QStringLiteral("25"));
    form.CheckBoxHdr->setChecked(true);
    form.ComboBoxTarget->setCurrentText(QStringLiteral("DVD"));
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  const IniFile saved = IniFile::Parse(savedSettings());
  EXPECT_EQ(saved.value("Tesmora", "Target"), QByteArray("dvd"));
  EXPECT_EQ(saved.value("Tesmora", "VideoRate"), QByteArray("25"));
  EXPECT_EQ(saved.value("Tesmora", "Hdr"), QByteArray("1"));
  {
    TForm1 form(platform, path());
    form.show();
    EXPECT_FALSE(form.ComboBoxVideoRate->isEnabled());
    EXPECT_TRUE(BluRayArguments(form.CurrentChoices()).empty());
    form.ComboBox6->setCurrentIndex(3);  // any other choice, saved with the DVD shown
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  {
    TForm1 form(platform, path());
    form.show();
    form.ComboBoxTarget->setCurrentText(QStringLiteral("Blu-ray 1080"));
    EXPECT_EQ(
        BluRayArguments(form.CurrentChoices()),
        (std::vector<std::string>{"--format", "pgs", "--video", "1080", "--fps", "25", "--hdr"}));
  }
  writeSettings("[Tesmora]\r\nTarget=dvd\r\nVideoRate=26\r\n");
  TForm1 form(platform, path());
  form.show();
  form.ComboBoxTarget->setCurrentText(QStringLiteral("Blu-ray 1080"));
  EXPECT_EQ(form.ComboBoxVideoRate->currentText(), QStringLiteral("23.976"));
  EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
}

// A picture whose name is not UTF-8 (a Latin-1 "\xE9"), and a Latin-1 line in
// another section: the picture opens, and both are written back as they were.
TEST_F(SettingsTest, NamesAndTextInAnotherEncodingSurviveARestart) {
  QImage picture(720, 576, QImage::Format_RGB888);
  picture.fill(Qt::darkGreen);
  ASSERT_TRUE(picture.save(folder.filePath("plain.bmp"), "BMP"));
  const QByteArray pictureBytes = QFile::encodeName(folder.path()) + "/pal\xE9.bmp";
  ASSERT_EQ(::rename(QFile::encodeName(folder.filePath("plain.bmp")).constData(),
                     pictureBytes.constData()),
            0);
  const QByteArray before =
      "[Other]\r\nname=J\xE9r\xF4me\r\n\r\n[Form1]\r\noffset_Position= 30\r\n"
      "LabelImageChangedPAL_Caption=" +
      pictureBytes + "\r\n";
  writeSettings(before);
  {
    TForm1 form(platform, path());
    form.show();
    EXPECT_TRUE(platform.errors.isEmpty());
    EXPECT_EQ(form.preview->picture().pixelColor(10, 10), QColor(Qt::darkGreen));
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  ::unlink(pictureBytes.constData());
  const QByteArray after = savedSettings();
  EXPECT_TRUE(after.startsWith(before)) << after.toStdString();
}

// A program folder named in another encoding holds the settings file.
TEST_F(SettingsTest, AProgramFolderNamedInAnotherEncodingKeepsTheSettings) {
  const QByteArray program = QFile::encodeName(folder.path()) + "/bin\xFF";
  ASSERT_EQ(::mkdir(program.constData(), 0700), 0);
  const QByteArray file = program + "/Tesmora_Settings.ini";
  const QString settings = SettingsFilePath(FileNameText(program), "/home/u/.config/Tesmora");
  EXPECT_EQ(FileNameBytes(settings), file);
  ASSERT_EQ(ReplaceFile(settings, "[Form1]\r\noffset_Position=100\r\n"), std::nullopt);
  {
    TForm1 form(platform, settings);
    form.show();
    EXPECT_EQ(form.offset->value(), 100);
    form.offset->setValue(200);
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  QFile saved;
  ASSERT_TRUE(OpenForReading(saved, settings));
  EXPECT_EQ(IniFile::Parse(saved.readAll()).value("Form1", "offset_Position"), QByteArray("200"));
  ::unlink(file.constData());
  ::rmdir(program.constData());
}

TEST_F(SettingsTest, ValuesThatDoNotFitAreIgnoredOrHeldToTheRange) {
  writeSettings(
      "[Form1]\r\nComboBox5_ItemIndex=99999\r\nComboBox6_ItemIndex=abc\r\n"
      "ComboBox7_ItemIndex=-1\r\noffset_Position=900\r\noffset_or_Position=-40\r\n");
  TForm1 form(platform, path());
  form.show();
  EXPECT_EQ(form.ComboBox5->currentText(), QStringLiteral("Arial"));
  EXPECT_EQ(form.ComboBox6->currentText(), QStringLiteral("22"));
  EXPECT_EQ(form.ComboBox7->currentText(), QStringLiteral("DEFAULT"));
  EXPECT_EQ(form.offset->value(), 492);
  EXPECT_EQ(form.offset_or->value(), -14);
}

// Every choice the window has goes back to what a fresh start shows, and is
// saved so; the stored folders of the dialogs are places, not choices.
TEST_F(SettingsTest, ADefaultsButtonPressResetsEveryChoiceAndSavesTheDefaults) {
  writeSettings(
      "[Form1]\r\nLabelImageChangedNTSC_Caption=/films/own.bmp\r\nComboBox6_ItemIndex=0\r\n"
      "offset_Position=100\r\n[Tesmora]\r\nEncoding=CP1251\r\nTagsAsText=1\r\n"
      "WrapLongLines=1\r\nVobSubAndPalette=1\r\nForced=1\r\nOutputName=film\r\n"
      "SubtitleFolder=/films/subs\r\n");
  QByteArray fresh;
  {
    TForm1 form(platform);
    IniFile file;
    StoreSettings(form, file);
    fresh = file.text();
  }
  {
    TForm1 form(platform, path());
    form.show();
    form.SpinBoxShift->setValue(1500);
    form.EditConvertFps->setText(QStringLiteral("25:50"));
    form.i_dont_have_ifo->setChecked(true);
    form.BitBtnSetDefaultValues->click();
    EXPECT_EQ(form.CurrentChoices(), ConversionChoices{});
    EXPECT_FALSE(form.i_dont_have_ifo->isChecked());
    EXPECT_EQ(form.OpenDialog2.folder, QStringLiteral("/films/subs"));
    form.close();
    EXPECT_EQ(form.FlushSettings(), std::nullopt);
  }
  const IniFile saved = IniFile::Parse(savedSettings());
  const IniFile expected = IniFile::Parse(fresh);
  for (const char* key :
       {"LabelImageChangedNTSC_Caption", "ComboBox6_ItemIndex", "offset_Position"}) {
    EXPECT_EQ(saved.value("Form1", key), expected.value("Form1", key)) << key;
  }
  for (const char* key :
       {"Encoding", "TagsAsText", "WrapLongLines", "VobSubAndPalette", "Forced", "OutputName"}) {
    EXPECT_EQ(saved.value("Tesmora", key), expected.value("Tesmora", key)) << key;
  }
  EXPECT_EQ(saved.value("Tesmora", "SubtitleFolder"), QByteArray("/films/subs"));
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsReported) {
  const QString blocked = folder.filePath("file/Tesmora_Settings.ini");
  QFile plain(folder.filePath("file"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  TForm1 form(platform, blocked);
  form.show();
  form.close();
  const std::optional<QString> problem = form.FlushSettings();
  ASSERT_TRUE(problem.has_value());
  EXPECT_TRUE(problem->startsWith("The settings could not be saved to " + blocked + ": "));
}

}  // namespace
}  // namespace tesmora
