// The window's choices of a Blu-ray target: what it writes, at which rate
// and in which colours, and a script drawn as libass draws it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/TForm1.h"
#include "conversion/RunReports.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QByteArray kSrt =
    "1\r\n00:00:01,000 --> 00:00:03,000\r\nDown below\r\n\r\n"
    "2\r\n00:00:04,000 --> 00:00:06,000\r\nAnd again\r\n\r\n";

// Three events; the second has a style of its own at the top.
const QByteArray kScript =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 1280\nPlayResY: 720\n\n"
    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
    "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, "
    "Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,DejaVu Sans,40,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,"
    "0,0,1,2,0,2,10,10,20,1\n"
    "Style: Sign,DejaVu Serif,30,&H0000FFFF,&H000000FF,&H00000000,&H00000000,-1,0,0,0,100,100,"
    "0,0,1,2,0,8,10,10,20,1\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,One\n"
    "Dialogue: 0,0:00:03.00,0:00:04.00,Sign,,0,0,0,,Two\n"
    "Dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,Three\n";

// A MicroDVD file that names no frame rate.
const QByteArray kRatelessFrames = "{50}{100}Down below\r\n{150}{200}And again\r\n";

class BluRayChoicesTest : public ::testing::Test {
 protected:
  void choose(DiscTarget target, BluRayForms forms = BluRayForms::Stream, bool hdr = false) {
    ConversionChoices choices = form.CurrentChoices();
    choices.target = target;
    choices.bluRayForms = forms;
    choices.hdr = hdr;
    form.ShowChoices(choices);
  }
  void load(const QString& name, const QByteArray& bytes) {
    platform.chosenFiles = {testing::WriteFile(path(name), bytes)};
    form.Button2->click();
    ASSERT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
    platform.messages.clear();
  }
  QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
  QStringList files() const {
    QStringList names = QDir(folder.path()).entryList(QDir::Files);
    names.sort();
    return names;
  }
  QStringList rates() const {
    QStringList listed;
    for (int i = 0; i < form.ComboBoxVideoRate->count(); ++i) {
      listed << form.ComboBoxVideoRate->itemText(i);
    }
    return listed;
  }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

// The choices apply to Blu-ray only; the rates are those of the chosen
// video, a rate it does not take going back to its usual one; HDR goes with
// the stream alone, but a ticked box can always be unticked.
TEST_F(BluRayChoicesTest, TheChoicesFollowTheTargetAndTheFilesChosen) {
  for (QWidget* control : std::initializer_list<QWidget*>{
           form.ComboBoxBluRayFiles, form.ComboBoxVideoRate, form.CheckBoxHdr}) {
    EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  }
  choose(DiscTarget::BluRay1080);
  EXPECT_EQ(rates(), (QStringList{"23.976", "24", "25", "29.97", "50", "59.94"}));
  EXPECT_TRUE(form.ComboBoxVideoRate->isEnabled());
  EXPECT_TRUE(form.CheckBoxHdr->isEnabled());
  EXPECT_EQ(form.CurrentChoices().videoRate, "");
  form.ComboBoxVideoRate->setCurrentText(QStringLiteral("50"));
  EXPECT_EQ(form.CurrentChoices().videoRate, "50");
  choose(DiscTarget::BluRay720);
  EXPECT_EQ(rates(), (QStringList{"23.976", "24", "50", "59.94"}));
  EXPECT_EQ(form.ComboBoxVideoRate->currentText(), QStringLiteral("50"));
  form.ComboBoxTarget->setCurrentIndex(1);  // 1080
  form.ComboBoxVideoRate->setCurrentText(QStringLiteral("29.97"));
  form.ComboBoxTarget->setCurrentIndex(2);  // 720 takes no 29.97
  EXPECT_EQ(form.ComboBoxVideoRate->currentText(), QStringLiteral("23.976"));
  EXPECT_EQ(form.CurrentChoices().videoRate, "");

  form.ComboBoxBluRayFiles->setCurrentIndex(2);  // BDN XML
  EXPECT_EQ(form.CurrentChoices().bluRayForms, BluRayForms::Bdn);
  EXPECT_FALSE(form.CheckBoxHdr->isEnabled());
  form.ComboBoxBluRayFiles->setCurrentIndex(0);
  form.CheckBoxHdr->setChecked(true);
  form.ComboBoxBluRayFiles->setCurrentIndex(1);  // the stream and BDN XML
  EXPECT_TRUE(form.CheckBoxHdr->isEnabled());
  form.CheckBoxHdr->setChecked(false);
  EXPECT_FALSE(form.CheckBoxHdr->isEnabled());
  choose(DiscTarget::Dvd);
  EXPECT_FALSE(form.ComboBoxBluRayFiles->isEnabled());
  EXPECT_EQ(form.CurrentChoices().videoRate, "");
}

// HDR with BDN XML, as a settings file may hold them, is refused with the
// converter's reason, and nothing is written.
TEST_F(BluRayChoicesTest, HdrWithBdnXmlIsRefusedAsTheConverterRefusesIt) {
  choose(DiscTarget::BluRay1080, BluRayForms::StreamAndBdn, true);
  load("film.srt", kSrt);
  form.Button3->click();
  EXPECT_EQ(platform.messages,
            QStringList{"HDR cannot be used with BDN XML: its PNG pictures are plain RGB, whose "
                        "colours the authoring suite codes for the video."});
  EXPECT_EQ(files(), QStringList{"film.srt"});
}

// BDN XML alone writes the XML and its pictures, no stream, and the closing
// message lists the XML.
TEST_F(BluRayChoicesTest, BdnXmlAloneWritesTheXmlAndItsPictures) {
  choose(DiscTarget::BluRay720, BluRayForms::Bdn);
  load("film.srt", kSrt);
  form.Button3->click();
  EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
  EXPECT_EQ(files(),
            (QStringList{"Generated.xml", "Generated_0001.png", "Generated_0002.png", "film.srt"}));
  EXPECT_EQ(platform.messages, QStringList{QString::fromStdString(BdnClosingMessage(
                                   {path("Generated.xml").toStdString()}, {}, false))});
  EXPECT_TRUE(testing::ReadFile(path("Generated.xml")).contains("FrameRate=\"23.976\""));
}

// A script in its own styles is drawn as libass draws the file, counted in
// its events; a Cancel leaves the earlier files as they were.
TEST_F(BluRayChoicesTest, AScriptRunShowsItsEventsAndCancelChangesNoFile) {
  choose(DiscTarget::BluRay1080, BluRayForms::StreamAndBdn);
  load("film.ass", kScript);
  testing::WriteFile(path("Generated.sup"), "earlier");
  int steps = 0;
  platform.onPendingEvents = [&] {
    ++steps;
    EXPECT_EQ(form.ProgressBar1->maximum(), 3);
    EXPECT_FALSE(form.ComboBoxBluRayFiles->isEnabled());
    if (steps == 2) {
      form.Button3->click();  // reads "Cancel" now
    }
  };
  form.Button3->click();
  EXPECT_EQ(platform.messages, QStringList{QString::fromLatin1(kRunStoppedMessage)});
  EXPECT_EQ(testing::ReadFile(path("Generated.sup")), QByteArray("earlier"));
  EXPECT_EQ(files(), (QStringList{"Generated.sup", "film.ass"}));

  platform.messages.clear();
  steps = 0;
  platform.onPendingEvents = [&] { ++steps; };
  form.Button3->click();
  EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(files(), (QStringList{"Generated.sup", "Generated.xml", "Generated_0001.png",
                                  "Generated_0002.png", "Generated_0003.png", "film.ass"}));
  EXPECT_EQ(
      platform.messages,
      QStringList{QString::fromStdString(BdnClosingMessage(
          {path("Generated.sup").toStdString(), path("Generated.xml").toStdString()}, {}, true))});
}

// A MicroDVD file is read at the Blu-ray video's rate, as the converter's
// --fps reads it, without the DVD's question; the rate answered for the DVD
// is kept for the DVD, and a change of target or rate reads the file again.
TEST_F(BluRayChoicesTest, AFrameFileIsReadAtTheBluRayVideosRate) {
  form.i_dont_have_ifo->setChecked(true);
  platform.choices.push_back(QStringLiteral("25"));
  load("film.sub", kRatelessFrames);
  EXPECT_EQ(platform.choiceQuestions.size(), 1);
  ASSERT_EQ(form.LoadedCues.size(), 2U);
  EXPECT_EQ(form.LoadedCues[0].startMs, 2000);
  choose(DiscTarget::BluRay1080);
  form.ComboBoxVideoRate->setCurrentText(QStringLiteral("50"));
  EXPECT_EQ(form.LoadedCues[0].startMs, 1000);
  choose(DiscTarget::Dvd);
  EXPECT_EQ(form.LoadedCues[0].startMs, 2000);

  // Loaded on a Blu-ray target, at the usual rate: no question, and the
  // DVD reads it at that rate too. A rate of the file's own is replaced by
  // the chosen one, which the load says.
  choose(DiscTarget::BluRay720);
  EXPECT_EQ(form.ComboBoxVideoRate->currentText(), QStringLiteral("50"));  // held for Blu-ray
  form.ComboBoxVideoRate->setCurrentIndex(0);
  platform.chosenFiles = {testing::WriteFile(path("other.sub"), kRatelessFrames)};
  form.Button2->click();
  EXPECT_EQ(platform.choiceQuestions.size(), 1);
  EXPECT_EQ(form.LoadedCues[0].startMs, 2085);  // frame 50 at 24000/1001
  EXPECT_TRUE(platform.messages.join('\r').contains(QStringLiteral(
      "The file names no frame rate; its frames are read at 23.976, the Blu-ray video's rate.")))
      << platform.messages.join('\n').toStdString();
  choose(DiscTarget::Dvd);
  EXPECT_EQ(form.LoadedCues[0].startMs, 2085);
  EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join('\n').toStdString();
  choose(DiscTarget::BluRay1080);
  form.ComboBoxVideoRate->setCurrentText(QStringLiteral("50"));
  platform.chosenFiles = {testing::WriteFile(path("rated.sub"), "{1}{1}25\r\n" + kRatelessFrames)};
  form.Button2->click();
  EXPECT_EQ(form.LoadedCues[0].startMs, 1000);
  EXPECT_TRUE(platform.messages.join('\r').contains(
      QStringLiteral("The frame rate 50 replaces the file's own rate")))
      << platform.messages.join('\n').toStdString();
}

// A script drawn as it is on Blu-ray keeps its two colours: the note that
// they become the window's four belongs to the DVD, and is not shown.
TEST_F(BluRayChoicesTest, AScriptDrawnAsItIsLoadsWithoutTheDvdsStyleNotes) {
  const QStringList loaded{QStringLiteral("Subtitle Style Modified/Loaded Successfully")};
  choose(DiscTarget::BluRay1080);
  platform.chosenFiles = {testing::WriteFile(path("film.ass"), kScript)};
  form.Button2->click();
  EXPECT_EQ(platform.messages, loaded);
  platform.messages.clear();
  choose(DiscTarget::Dvd);
  form.i_dont_have_ifo->setChecked(true);
  platform.chosenFiles = {path("film.ass")};
  form.Button2->click();
  ASSERT_EQ(platform.messages.size(), 2);
  EXPECT_TRUE(platform.messages[0].contains(QStringLiteral("2 text colours")))
      << platform.messages[0].toStdString();
}

// The forced style lists the loaded script's styles, applies to a Blu-ray
// target drawn in the file's own styles, and belongs to its film: another
// file starts without it.
TEST_F(BluRayChoicesTest, TheForcedStyleListsTheScriptsStylesAndBelongsToItsFilm) {
  EXPECT_FALSE(form.ComboBoxForcedStyle->isEnabled());
  choose(DiscTarget::BluRay1080);
  load("film.ass", kScript);
  QStringList listed;
  for (int i = 0; i < form.ComboBoxForcedStyle->count(); ++i) {
    listed << form.ComboBoxForcedStyle->itemText(i);
  }
  EXPECT_EQ(listed, (QStringList{"", "Default", "Sign"}));
  EXPECT_TRUE(form.ComboBoxForcedStyle->isEnabled());
  form.ComboBoxForcedStyle->setCurrentText(QStringLiteral("Sign"));
  EXPECT_EQ(form.CurrentChoices().forcedStyle, "Sign");
  form.CheckBoxStylesFromFile->setChecked(false);
  EXPECT_FALSE(form.ComboBoxForcedStyle->isEnabled());
  form.CheckBoxStylesFromFile->setChecked(true);
  EXPECT_TRUE(form.ComboBoxForcedStyle->isEnabled());
  choose(DiscTarget::Dvd);
  EXPECT_FALSE(form.ComboBoxForcedStyle->isEnabled());
  EXPECT_TRUE(BluRayArguments(form.CurrentChoices()).empty());
  choose(DiscTarget::BluRay720);
  EXPECT_EQ(form.CurrentChoices().forcedStyle, "Sign");
  load("film.ass", kScript);  // the same film again keeps it
  EXPECT_EQ(form.CurrentChoices().forcedStyle, "Sign");
  load("other.srt", kSrt);
  EXPECT_EQ(form.CurrentChoices().forcedStyle, "");
  EXPECT_EQ(form.ComboBoxForcedStyle->count(), 1);
}

// A style the script does not have, and a forced style with a file drawn in
// the window's style, are refused in the converter's words; nothing is
// written.
TEST_F(BluRayChoicesTest, AForcedStyleThatCannotApplyIsRefusedInTheConvertersWords) {
  choose(DiscTarget::BluRay1080);
  load("film.ass", kScript);
  form.ComboBoxForcedStyle->setCurrentText(QStringLiteral("Signs"));
  form.Button3->click();
  EXPECT_EQ(platform.errors,
            QStringList{path("film.ass") +
                        ": \"Forced style\": the file has no style called \"Signs\"; its styles "
                        "are \"Default\" and \"Sign\"."});
  form.CheckBoxStylesFromFile->setChecked(false);
  platform.messages.clear();
  form.Button3->click();
  EXPECT_EQ(platform.messages,
            QStringList{path("film.ass") +
                        ": \"Forced style\" picks the subtitles of one style of the file as its "
                        "own styles draw them; it cannot be used without \"Styles from the "
                        "file\"."});
  form.CheckBoxStylesFromFile->setChecked(true);
  platform.errors.clear();
  load("film.srt", kSrt);
  form.ComboBoxForcedStyle->setCurrentText(QStringLiteral("Default"));
  form.Button3->click();
  EXPECT_EQ(platform.messages.join('\n').toStdString(),
            QStringList{path("film.srt") +
                        ": \"Forced style\" picks the subtitles of one style of an ASS or SSA "
                        "file, and this file has no styles; \"Forced subtitles\" marks every "
                        "subtitle."}
                .join('\n')
                .toStdString());
  EXPECT_EQ(files(), (QStringList{"film.ass", "film.srt"}));
}

}  // namespace
}  // namespace tesmora
