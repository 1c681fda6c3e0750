// A generation run reads the loaded film again with the choices in force,
// refuses a cue that cannot be drawn whole before writing anything, and can
// be stopped.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "app/TForm1.h"
#include "conversion/RunReports.h"
#include "output/HelpFile.h"
#include "tests/app/LoadedCueTexts.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QString kSuccess = QStringLiteral("Subtitle Style Modified/Loaded Successfully");
const QByteArray kSrt =
    "1\r\n00:00:01,000 --> 00:00:03,000\r\nThe fog lifted over the harbour at dawn.\r\n\r\n"
    "2\r\n00:00:04,000 --> 00:00:06,000\r\n<i>Bring</i> the ropes.\r\n\r\n";

// Many short cues, for a run long enough to stop.
QByteArray LongFilm(int count) {
  QByteArray srt;
  for (int n = 0; n < count; ++n) {
    const int second = n * 2 + 1;
    const QByteArray start = QByteArray::number(second % 60).rightJustified(2, '0');
    const QByteArray minute = QByteArray::number(second / 60).rightJustified(2, '0');
    srt += QByteArray::number(n + 1) + "\r\n00:" + minute + ":" + start + ",000 --> 00:" + minute +
           ":" + start + ",900\r\nCue " + QByteArray::number(n + 1) + "\r\n\r\n";
  }
  return srt;
}

class RunTest : public ::testing::Test {
 protected:
  RunTest() { form.i_dont_have_ifo->click(); }
  void load(const QByteArray& bytes = kSrt) {
    platform.chosenFiles = {testing::WriteFile(folder.filePath("film.srt"), bytes)};
    form.Button2->click();
  }
  QByteArray contents(const QString& name) { return testing::ReadFile(folder.filePath(name)); }
  QStringList files() { return QDir(folder.path()).entryList(QDir::Files, QDir::Name); }
  void choose(QComboBox* list, const QString& item) {
    const int index = list->findText(item);
    ASSERT_GE(index, 0);
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  std::string folderText() { return folder.path().toStdString() + "/"; }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

// Shift, frame rate conversion and forced, set after the load, take effect
// at "Generate Sup", and the closing message names them; without them it is
// the help text alone.
TEST_F(RunTest, TimeChoicesSetAfterLoadingApplyAndAreNamedAtTheEnd) {
  form.CheckBoxVobSub->setChecked(true);
  load(
      "1\r\n00:00:00,000 --> 00:00:02,000\r\nFirst\r\n\r\n"
      "2\r\n00:00:04,000 --> 00:00:06,000\r\nSecond\r\n\r\n");
  platform.messages.clear();
  form.Button3->click();
  const std::vector<std::string> written{
      folderText() + "Generated.sup", folderText() + "Generated.idx",
      folderText() + "Generated.sub", folderText() + "Generated.rgb", folderText() + kHelpFileName};
  EXPECT_EQ(platform.messages,
            QStringList{QString::fromStdString(HelpMessageListing(HelpCase::NoIfo, written))});
  EXPECT_TRUE(contents("Generated.idx").contains("timestamp: 00:00:00:000, filepos"));

  form.SpinBoxShift->setValue(1500);
  platform.messages.clear();
  form.Button3->click();
  EXPECT_TRUE(contents("Generated.idx").contains("timestamp: 00:00:01:500, filepos"));
  EXPECT_TRUE(contents("Generated.idx").contains("timestamp: 00:00:05:500, filepos"));
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].endsWith(
      "\r\rChoices in force that changed times or flags: times shifted by 1500 ms."));

  form.SpinBoxShift->setValue(0);
  form.EditConvertFps->setText(QStringLiteral("25:50"));
  form.CheckBoxForced->setChecked(true);
  platform.messages.clear();
  form.Button3->click();
  EXPECT_TRUE(contents("Generated.idx").contains("timestamp: 00:00:02:000, filepos"));
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].endsWith(
      "\r\rChoices in force that changed times or flags: frame rate converted 25:50, every "
      "subtitle marked forced."));
}

// Encoding, "Draw tags as text" and "Wrap long lines" changed after the load
// read the file again at once: the list shows the new reading.
TEST_F(RunTest, ReadingChoicesSetAfterLoadingReadTheFileAgain) {
  load("1\r\n00:00:01,000 --> 00:00:02,000\r\n<i>\xCF\xF0\xE8\xE2\xE5\xF2</i>\r\n\r\n");
  ASSERT_TRUE(form.SubtitlesLoaded);
  EXPECT_TRUE(form.LoadedEncoding.isEmpty());
  form.ComboBoxEncoding->setCurrentText(QStringLiteral("CP1251"));
  EXPECT_EQ(form.LoadedEncoding, QStringLiteral("CP1251"));
  EXPECT_EQ(form.ListBox1->item(0)->text(),
            QStringLiteral("<i>\u041F\u0440\u0438\u0432\u0435\u0442</i>"));
  EXPECT_EQ(form.Edit2->toolTip(), QStringLiteral("Read as CP1251"));
  form.CheckBoxTagsAsText->setChecked(true);
  EXPECT_EQ(form.LoadedSource.dialect, MarkupDialect::Literal);
  form.CheckBoxWrap->setChecked(true);
  EXPECT_TRUE(form.LoadedSource.wrap);
  EXPECT_TRUE(platform.errors.isEmpty());
}

// A style that makes a cue too wide is said once, and "Generate Sup" then
// refuses before writing: the stream written before stays as it was.
TEST_F(RunTest, ACueTooWideForTheStyleInForceWritesNothing) {
  load();
  form.Button3->click();
  const QByteArray stream = contents("Generated.sup");
  const QByteArray help = contents("Tesmora_Help_File.txt");
  ASSERT_NE(stream, QByteArray("missing"));

  platform.messages.clear();
  choose(form.ComboBox6, QStringLiteral("50"));
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].contains("is too long"));

  platform.messages.clear();
  form.Button3->click();
  EXPECT_EQ(platform.messages,
            QStringList{"Nothing was written: cue 1 cannot be drawn whole in this style, and the "
                        "files written before stay as they were.\rThe string \rThe fog lifted "
                        "over the harbour at dawn.\r\ris too long. Please use a smaler font size. "
                        "Or tick \"Wrap long lines\"."});
  EXPECT_EQ(contents("Generated.sup"), stream);
  EXPECT_EQ(contents("Tesmora_Help_File.txt"), help);
  EXPECT_EQ(files(), (QStringList{"Generated.sup", "Tesmora_Help_File.txt", "film.srt"}));

  // Wrapping makes it fit again.
  form.CheckBoxWrap->setChecked(true);
  platform.messages.clear();
  form.Button3->click();
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].startsWith("All Done !!!"));
  EXPECT_NE(contents("Generated.sup"), stream);
}

// "Generate Sup" reads "Cancel" during a run and the progress "N / total";
// the button, Esc and closing the window each stop the run: no file of it is
// written, no temporary file stays, and the earlier outputs are untouched.
TEST_F(RunTest, ARunStopsOnCancelEscapeOrCloseAndWritesNothing) {
  load(LongFilm(30));
  ASSERT_TRUE(form.SubtitlesLoaded);
  form.Button3->click();
  const QByteArray stream = contents("Generated.sup");
  const QStringList before = files();
  const std::function<void()> stops[] = {
      [this] { form.Button3->click(); },
      [this] { QTest::keyClick(&form, Qt::Key_Escape); },
  };
  for (const auto& stop : stops) {
    int calls = 0;
    platform.onPendingEvents = [&] {
      if (++calls == 3) {
        EXPECT_EQ(form.Button3->text(), QStringLiteral("Cancel"));
        EXPECT_TRUE(form.Button3->isEnabled());
        EXPECT_EQ(form.ProgressBar1->text(), QStringLiteral("2 / 30"));
        stop();
      }
    };
    platform.messages.clear();
    form.Button3->click();
    platform.onPendingEvents = nullptr;
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(platform.messages, QStringList{QString::fromLatin1(kRunStoppedMessage)});
    EXPECT_EQ(form.Button3->text(), QStringLiteral("&Generate Sup"));
    EXPECT_EQ(contents("Generated.sup"), stream);
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(form.Button2->isEnabled());
  }

  // Closing asks; No lets the run finish, Yes stops it and closes.
  platform.answers = {false};
  platform.onPendingEvents = [this] {
    if (platform.questions.isEmpty()) {
      form.close();
    }
  };
  platform.messages.clear();
  form.Button3->click();
  ASSERT_EQ(platform.questions.size(), 1);
  EXPECT_EQ(platform.questions[0],
            QStringLiteral(
                "A run is writing the subtitles. Stop it and close? Nothing of it is written."));
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].startsWith("All Done !!!"));

  form.SpinBoxShift->setValue(100);  // a run that would change the stream
  platform.questions.clear();
  platform.answers = {true};
  platform.messages.clear();
  form.Button3->click();
  platform.onPendingEvents = nullptr;
  EXPECT_EQ(platform.questions.size(), 1);
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_EQ(contents("Generated.sup"), stream);
  EXPECT_EQ(files(), before);
}

}  // namespace
}  // namespace tesmora
