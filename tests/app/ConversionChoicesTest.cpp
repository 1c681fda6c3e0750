// The window's reading and output choices change what a load reads and what
// a run writes.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/TForm1.h"
#include "tests/app/LoadedCueTexts.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QByteArray kSrt =
    "1\r\n00:00:01,000 --> 00:00:03,000\r\nHello\r\n\r\n"
    "2\r\n00:01:02,340 --> 00:01:04,000\r\n<i>One</i> line\r\n\r\n";

class ChoicesTest : public ::testing::Test {
 protected:
  ChoicesTest() { form.i_dont_have_ifo->click(); }
  QString write(const QString& name, const QByteArray& bytes) {
    return testing::WriteFile(folder.filePath(name), bytes);
  }
  void load(const QByteArray& bytes = kSrt) {
    platform.chosenFiles = {write("film.srt", bytes)};
    form.Button2->click();
  }
  QByteArray contents(const QString& name) { return testing::ReadFile(folder.filePath(name)); }
  bool exists(const QString& name) { return QFileInfo::exists(folder.filePath(name)); }
  QStringList written() { return QDir(folder.path()).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(ChoicesTest, TheDefaultsWriteOnlyGeneratedSupAndTheHelpFile) {
  EXPECT_EQ(form.CurrentChoices(), ConversionChoices{});
  load();
  form.Button3->click();
  EXPECT_EQ(written(), (QStringList{"Generated.sup", "Tesmora_Help_File.txt", "film.srt"}));
}

TEST_F(ChoicesTest, VobSubWritesTheIndexThePacksAndThePaletteBesideTheSameStream) {
  load();
  form.Button3->click();
  const QByteArray plain = contents("Generated.sup");
  form.CheckBoxVobSub->setChecked(true);
  form.Button3->click();
  EXPECT_EQ(written(), (QStringList{"Generated.idx", "Generated.rgb", "Generated.sub",
                                    "Generated.sup", "Tesmora_Help_File.txt", "film.srt"}));
  EXPECT_EQ(contents("Generated.sup"), plain);
  EXPECT_TRUE(contents("Generated.idx").contains("timestamp: 00:00:01:000, filepos: 000000000"));
  EXPECT_EQ(contents("Generated.rgb").count('\n'), 16);
  EXPECT_EQ(contents("Generated.sub").left(4), QByteArray("\x00\x00\x01\xBA", 4));
  const QByteArray help = contents("Tesmora_Help_File.txt");
  for (const char* name : {"Generated.sup", "Generated.idx", "Generated.sub", "Generated.rgb"}) {
    EXPECT_TRUE(help.contains(QDir(folder.path()).filePath(name).toUtf8())) << name;
  }
}

TEST_F(ChoicesTest, ForcedChangesOnlyTheStartCommandOfEachUnit) {
  load();
  form.Button3->click();
  const QByteArray plain = contents("Generated.sup");
  form.CheckBoxForced->setChecked(true);
  form.Button3->click();
  const QByteArray forced = contents("Generated.sup");
  ASSERT_EQ(forced.size(), plain.size());
  int changed = 0;
  for (qsizetype n = 0; n < plain.size(); ++n) {
    if (plain[n] != forced[n]) {
      ++changed;
      EXPECT_EQ(plain[n], '\x01');   // start display
      EXPECT_EQ(forced[n], '\x00');  // forced start display
    }
  }
  EXPECT_EQ(changed, 2);  // one unit per cue
}

TEST_F(ChoicesTest, TheOutputNameNamesTheFilesAndMustNotLeadElsewhere) {
  load();
  form.EditOutputName->setText(QStringLiteral("film.en"));
  form.CheckBoxVobSub->setChecked(true);
  form.Button3->click();
  EXPECT_EQ(written(), (QStringList{"Tesmora_Help_File.txt", "film.en.idx", "film.en.rgb",
                                    "film.en.sub", "film.en.sup", "film.srt"}));
  form.EditOutputName->setText(QStringLiteral("../up"));
  platform.messages.clear();
  form.Button3->click();
  EXPECT_EQ(platform.messages,
            QStringList{"The output name '../up' must be a file name without a folder."});
  EXPECT_FALSE(QFileInfo::exists(folder.filePath("../up.sup")));
}

TEST_F(ChoicesTest, ARunThatWouldReplaceTheLoadedFileWritesNothing) {
  const QByteArray frames = "{1}{1}25\n{25}{100}Hello\n";
  const auto generate = [this](const QString& path) {
    platform.chosenFiles = {path};
    form.Button2->click();
    platform.errors.clear();
    form.Button3->click();
  };
  const auto refusal = [this](const QString& input, const QString& output, const char* wayOut) {
    return QStringList{"The subtitle file " + folder.filePath(input) +
                       " would be overwritten by the output " + folder.filePath(output) + "; " +
                       wayOut + "."};
  };
  // A MicroDVD movie.sub, and the VobSub pair named movie.
  form.EditOutputName->setText(QStringLiteral("movie"));
  form.CheckBoxVobSub->setChecked(true);
  generate(write("movie.sub", frames));
  EXPECT_EQ(platform.errors, refusal("movie.sub", "movie.sub", "choose another Name"));
  EXPECT_EQ(written(), QStringList{"movie.sub"});
  EXPECT_EQ(contents("movie.sub"), frames);

  // The same through a link: film.sub leads to Generated.sub.
  ASSERT_TRUE(QFile::remove(folder.filePath("movie.sub")));
  write("Generated.sub", frames);
  ASSERT_TRUE(QFile::link(QStringLiteral("Generated.sub"), folder.filePath("film.sub")));
  form.EditOutputName->setText(QStringLiteral("Generated"));
  generate(folder.filePath("film.sub"));
  EXPECT_EQ(platform.errors, refusal("film.sub", "Generated.sub", "choose another Name"));
  EXPECT_EQ(written(), (QStringList{"Generated.sub", "film.sub"}));
  EXPECT_EQ(contents("Generated.sub"), frames);
  // Without the pair the run goes ahead.
  form.CheckBoxVobSub->setChecked(false);
  generate(folder.filePath("film.sub"));
  EXPECT_TRUE(platform.errors.isEmpty());
  EXPECT_TRUE(contents("Generated.sup").startsWith("SP"));
  EXPECT_EQ(contents("Generated.sub"), frames);

  // A MicroDVD text file with the help file's name.
  generate(write("Tesmora_Help_File.txt", frames));
  EXPECT_EQ(platform.errors, refusal("Tesmora_Help_File.txt", "Tesmora_Help_File.txt",
                                     "give the subtitle file another name"));
  EXPECT_EQ(contents("Tesmora_Help_File.txt"), frames);
}

TEST_F(ChoicesTest, TheChosenEncodingReadsACodePageFile) {
  form.ComboBoxEncoding->setCurrentText(QStringLiteral("CP1251"));
  load("1\r\n00:00:01,000 --> 00:00:02,000\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n\r\n");
  ASSERT_EQ(form.ListBox1->count(), 1);
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442"));
  EXPECT_EQ(form.LoadedEncoding, QStringLiteral("CP1251"));
}

TEST_F(ChoicesTest, ShiftAndRateConversionMoveTheTimesAtLoad) {
  form.SpinBoxShift->setValue(1500);
  load();
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"2500", "63840"}));
  form.SpinBoxShift->setValue(0);
  form.EditConvertFps->setText(QStringLiteral("25:50"));
  load();
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"500", "31170"}));
  EXPECT_EQ(testing::CueDurations(form), (QByteArrayList{"1000", "830"}));
}

// The shift and the rate conversion stay with the film they were used for:
// a reload of its file keeps them, another file is read without them, and a
// load that fails leaves them with the film still loaded.
TEST_F(ChoicesTest, ShiftAndRateConversionBelongToTheFilmTheyWereUsedWith) {
  form.SpinBoxShift->setValue(1500);
  form.EditConvertFps->setText(QStringLiteral("25:50"));
  load();
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"2000", "32670"}));
  load();
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"2000", "32670"}));
  EXPECT_EQ(form.SpinBoxShift->value(), 1500);

  platform.chosenFiles = {write("broken.srt", "1\r\nno times here\r\n")};
  form.Button2->click();
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"2000", "32670"}));
  EXPECT_EQ(form.SpinBoxShift->value(), 1500);
  EXPECT_EQ(form.EditConvertFps->text(), QStringLiteral("25:50"));

  platform.chosenFiles = {write("other.srt", kSrt)};
  form.Button2->click();
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1000", "62340"}));
  EXPECT_EQ(form.SpinBoxShift->value(), 0);
  EXPECT_EQ(form.EditConvertFps->text(), QString());
  // Set for the film now loaded, they apply to its reload.
  form.SpinBoxShift->setValue(-500);
  platform.chosenFiles = {folder.filePath("other.srt")};
  form.Button2->click();
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"500", "61840"}));
}

TEST_F(ChoicesTest, TheShiftMovesCuesReadBeforeZeroBeforeAnyIsRefused) {
  const QByteArray early =
      "1\r\n-00:00:00,400 --> 00:00:01,000\r\nEarly\r\n\r\n"
      "2\r\n00:00:02,000 --> 00:00:03,000\r\nIn time\r\n\r\n";
  form.SpinBoxShift->setValue(500);
  load(early);
  EXPECT_TRUE(platform.errors.isEmpty());
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"100", "2500"}));
  EXPECT_EQ(testing::CueDurations(form), (QByteArrayList{"1400", "1000"}));
  form.SpinBoxShift->setValue(300);
  load(early);
  EXPECT_EQ(platform.errors,
            QStringList{"The subtitle at line 2 starts before the beginning of the video "
                        "(-00:00:00,400 --> 00:00:01,000); a subpicture cannot start before 0. "
                        "Please correct the file and load it again."});
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"100", "2500"}));
}

TEST_F(ChoicesTest, TimesThatCannotBeChangedStopTheLoadAndKeepTheEarlierOne) {
  load();
  form.SpinBoxShift->setValue(-2000);
  load();
  ASSERT_EQ(platform.errors.size(), 1);
  EXPECT_EQ(platform.errors[0],
            QStringLiteral("Subtitle 1, starting at 00:00:01,000: moved by -2000 ms, it would "
                           "start before the beginning of the video."));
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1000", "62340"}));
  form.SpinBoxShift->setValue(0);
  form.EditConvertFps->setText(QStringLiteral("25"));
  load();
  ASSERT_EQ(platform.errors.size(), 2);
  EXPECT_EQ(platform.errors[1],
            QStringLiteral("The frame rate conversion '25' is not two frame rates FROM:TO such as "
                           "23.976:25."));
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1000", "62340"}));
}

TEST_F(ChoicesTest, TagsAsTextAndWrapDecideHowTheLoadedTextIsRead) {
  load();
  EXPECT_EQ(form.LoadedSource.dialect, MarkupDialect::Srt);
  EXPECT_FALSE(form.LoadedSource.wrap);
  form.CheckBoxTagsAsText->setChecked(true);
  form.CheckBoxWrap->setChecked(true);
  load();
  EXPECT_EQ(form.LoadedSource.dialect, MarkupDialect::Literal);
  EXPECT_TRUE(form.LoadedSource.wrap);
  EXPECT_EQ(form.ListBox1->item(1)->text(), QStringLiteral("<i>One</i> line"));
}

// A long Japanese line has no spaces: refused, the refusal names the box that
// wraps it; with the box ticked, it is broken between its characters.
TEST_F(ChoicesTest, WrapLongLinesBreaksAJapaneseLineTheRefusalNamed) {
  QByteArray japanese;
  for (int i = 0; i < 8; ++i) {
    japanese +=
        "\xE5\x90\xBE\xE8\xBC\xA9\xE3\x81\xAF\xE7\x8C\xAB\xE3\x81\xA7\xE3\x81\x82"
        "\xE3\x82\x8B\xE3\x80\x82";  // 吾輩は猫である。
  }
  const QByteArray srt = "1\r\n00:00:01,000 --> 00:00:03,000\r\n" + japanese + "\r\n";
  load(srt);
  ASSERT_FALSE(platform.messages.isEmpty());
  EXPECT_EQ(platform.messages.back(),
            "The string \r" + QString::fromUtf8(japanese) +
                "\r\ris too long. Please correct the srt and reload it. You can just use a "
                "smaler font size. Or tick \"Wrap long lines\".");
  EXPECT_FALSE(form.SubtitlesLoaded);

  form.CheckBoxWrap->setChecked(true);
  load(srt);
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_TRUE(form.AllLinesFit);
  form.Button3->click();
  EXPECT_TRUE(platform.messages.back().startsWith("All Done !!!"))
      << platform.messages.back().toStdString();
}

}  // namespace
}  // namespace tesmora
