// Loading subtitle files into the window and the generation run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/TForm1.h"
#include "files/FileAccess.h"
#include "files/FileNames.h"
#include "output/HelpFile.h"
#include "tests/app/LoadedCueTexts.h"
#include "tests/app/TestFiles.h"
#include "tests/palette/IfoBuilder.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QString kSuccess = QStringLiteral("Subtitle Style Modified/Loaded Successfully");
const QString kLoading = QStringLiteral("Tesmora By Ovandel Loading Subtitle...");
const QByteArray kSrt =
    "1\r\n00:00:01,000 --> 00:00:03,000\r\nHello\r\nWorld\r\n\r\n"
    "2\r\n00:01:02,340 --> 00:01:04,000\r\nOne line\r\n\r\n";

class GenerationTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    return testing::WriteFile(folder.filePath(name), bytes);
  }
  void load(const QString& path) {
    platform.chosenFiles = {path};
    form.Button2->click();
  }
  QByteArray contents(const QString& name) { return testing::ReadFile(folder.filePath(name)); }
  // The packets of a stream: each an "SP" header and a unit whose first two
  // bytes give its size.
  static int PacketCount(const QByteArray& stream) {
    int count = 0;
    for (qsizetype at = 0; at + 12 <= stream.size(); ++count) {
      if (stream.mid(at, 2) != "SP") {
        return -1;
      }
      const int unit = static_cast<unsigned char>(stream[at + 10]) << 8 |
                       static_cast<unsigned char>(stream[at + 11]);
      at += 10 + unit;
    }
    return count;
  }
  static QByteArray HelpFileBytes(HelpCase helpCase, const QString& folder) {
    QByteArray bytes;
    for (const std::string& line : HelpFileLines(helpCase, folder.toStdString() + "/")) {
      bytes += QByteArray::fromStdString(line) + "\r\n";
    }
    return bytes;
  }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(GenerationTest, LoadingNeedsAPaletteAndAChosenFile) {
  load(write("a.srt", kSrt));
  form.Button2->click();  // cancelled
  EXPECT_EQ(platform.messages,
            QStringList(2, "Please load an Ifo file first and then an Srt/Sub/Txt file."));
  EXPECT_TRUE(form.LoadedCues.empty());
}

TEST_F(GenerationTest, LoadsAnSrtIntoTheListsAndPassesTheCheck) {
  form.i_dont_have_ifo->click();
  const QString path = write("film.Srt", kSrt);
  load(path);
  EXPECT_EQ(platform.messages, QStringList{kSuccess});
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1000", "62340"}));
  EXPECT_EQ(testing::CueDurations(form), (QByteArrayList{"2000", "1660"}));
  EXPECT_EQ(testing::CueLines(form, 0), (QByteArrayList{"Hello", "One line"}));
  EXPECT_EQ(testing::CueLines(form, 1), (QByteArrayList{"World", ""}));
  ASSERT_EQ(form.ListBox1->count(), 2);
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("Hello | World"));
  EXPECT_EQ(form.ListBox1->currentRow(), -1);
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_EQ(form.Edit2->text(), path);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Tesmora By Ovandel"));
}

TEST_F(GenerationTest, ReadsFrameFilesByExtensionAndNothingElse) {
  form.i_dont_have_ifo->click();
  load(write("film.TXT", "{1}{1}25\n{25}{100}Hi|there\n"));
  EXPECT_EQ(testing::CueStarts(form), QByteArrayList{"1000"});
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("Hi | there"));

  const QString other = write("film.doc", kSrt);
  load(other);
  EXPECT_EQ(platform.errors, QStringList{"No subtitle was found in " + other + "."});
  EXPECT_EQ(testing::CueStarts(form), QByteArrayList{"1000"});
  EXPECT_EQ(platform.messages, QStringList{kSuccess});
}

TEST_F(GenerationTest, AFrameFileWithoutRateAsksForOneAndReadsAtIt) {
  form.i_dont_have_ifo->click();
  platform.choices.push_back(QStringLiteral("29.97"));
  load(write("film.sub", "{30}{60}first\n{90}{120}second|line\n"));
  EXPECT_EQ(platform.choiceQuestions,
            QStringList{"The first line of the sub does not give the frame rate.\rChoose the "
                        "frame rate of the video:"});
  EXPECT_EQ(platform.offeredItems,
            (QStringList{"23.976", "24", "25", "29.97", "30", "50", "59.94"}));
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1001", "3003"}));
  EXPECT_EQ(testing::CueDurations(form), (QByteArrayList{"1001", "1001"}));
  EXPECT_EQ(testing::CueLines(form, 1), (QByteArrayList{"", "line"}));
}

TEST_F(GenerationTest, AFrameFileWhoseFirstCueIsANumberAsksForTheRate) {
  form.i_dont_have_ifo->click();
  platform.choices.push_back(QStringLiteral("25"));
  load(write("film.sub", "{250}{300}1944\n{400}{500}Paris, in the spring\n"));
  EXPECT_EQ(platform.choiceQuestions.size(), 1);
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"10000", "16000"}));
  EXPECT_EQ(testing::CueLines(form, 0), (QByteArrayList{"1944", "Paris, in the spring"}));
}

TEST_F(GenerationTest, AFrameFileWithoutRateLoadsNothingWhenTheQuestionIsCancelled) {
  form.i_dont_have_ifo->click();
  load(write("film.sub", "{1}{1}0\n{25}{100}Hi\n"));
  EXPECT_EQ(platform.choiceQuestions.size(), 1);
  EXPECT_EQ(platform.messages,
            QStringList{"The first line of the sub must contain the framerate. Ex: {1}{1}25.000"});
  EXPECT_FALSE(form.FrameRateMissing);
  EXPECT_FALSE(form.SubtitlesLoaded);
  EXPECT_EQ(form.ListBox1->count(), 0);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Tesmora By Ovandel"));
}

// The same French text in CP1252, UTF-8 and UTF-16 (with and without a
// byte-order mark) writes the same stream; the list shows the decoded text
// and the file name's tooltip the encoding read.
TEST_F(GenerationTest, AUnicodeFileWritesTheStreamOfItsCodePageTwin) {
  form.i_dont_have_ifo->click();
  const QString text = QStringLiteral(
      "1\r\n00:00:01,000 --> 00:00:03,000\r\nL'\u00E9t\u00E9 \u00E0 No\u00EBl\r\n"
      "\u00C7a va, ma\u00EEtre ?\r\n\r\n");
  load(write("cp1252.srt", text.toLatin1()));
  EXPECT_EQ(form.Edit2->toolTip(), QStringLiteral("Read in the code page of the Font Charset"));
  form.Button3->click();
  const QByteArray expected = contents("Generated.sup");
  ASSERT_EQ(PacketCount(expected), 1);

  QByteArray utf16le("\xFF\xFE");
  QByteArray utf16be("\xFE\xFF");
  for (const QChar c : text) {
    utf16le += QByteArray(1, static_cast<char>(c.unicode() & 0xFF)) +
               QByteArray(1, static_cast<char>(c.unicode() >> 8));
    utf16be += QByteArray(1, static_cast<char>(c.unicode() >> 8)) +
               QByteArray(1, static_cast<char>(c.unicode() & 0xFF));
  }
  const struct {
    QString name;
    QByteArray bytes;
    QString encoding;
  } twins[] = {{"utf8.srt", text.toUtf8(), "UTF-8"},
               {"bom8.srt", "\xEF\xBB\xBF" + text.toUtf8(), "UTF-8"},
               {"le.srt", utf16le, "UTF-16LE"},
               {"be.srt", utf16be, "UTF-16BE"},
               {"nobom.srt", utf16le.mid(2), "UTF-16LE"}};
  for (const auto& twin : twins) {
    platform.messages.clear();
    load(write(twin.name, twin.bytes));
    EXPECT_EQ(platform.messages, QStringList{kSuccess}) << twin.name.toStdString();
    EXPECT_EQ(form.Edit2->toolTip(), "Read as " + twin.encoding);
    ASSERT_EQ(form.ListBox1->count(), 1);
    EXPECT_EQ(form.ListBox1->item(0)->text(),
              QStringLiteral("L'\u00E9t\u00E9 \u00E0 No\u00EBl | \u00C7a va, ma\u00EEtre ?"));
    form.Button3->click();
    EXPECT_EQ(contents("Generated.sup"), expected) << twin.name.toStdString();
  }
}

TEST_F(GenerationTest, InvalidBytesOfAUnicodeFileAreReportedWithTheirLine) {
  form.i_dont_have_ifo->click();
  load(write("broken.srt",
             "\xEF\xBB\xBF"
             "1\r\n00:00:01,000 --> 00:00:03,000\r\nCaf\xC3\xA9 \xFF ok\r\n\r\n"));
  ASSERT_EQ(platform.messages.size(), 2);
  EXPECT_EQ(platform.messages[0],
            QStringLiteral("1 byte sequence(s) not valid in UTF-8 were replaced by \uFFFD "
                           "(U+FFFD), the first at line 3."));
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("Caf\u00E9 \uFFFD ok"));
}

// Bytes the Font Charset's code page has no character for are said in the
// load's message as the Unicode ones are; UTF-8 with a stray byte is read
// as UTF-8, the byte replaced.
TEST_F(GenerationTest, CharactersReplacedInAnyEncodingAreReportedWithTheirLine) {
  form.i_dont_have_ifo->click();
  load(write("western.srt", "1\r\n00:00:01,000 --> 00:00:03,000\r\nCaf\xE9 \x81 ok\r\n\r\n"));
  EXPECT_EQ(platform.messages,
            (QStringList{QStringLiteral("1 byte sequence(s) not valid in CP1252 were replaced by "
                                        "\uFFFD (U+FFFD), the first at line 3."),
                         kSuccess}));
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("Caf\u00E9 \uFFFD ok"));

  platform.messages.clear();
  load(write("stray.srt",
             "1\r\n00:00:01,000 --> 00:00:03,000\r\nCaf\xC3\xA9 cr\xC3\xA8me\x85\r\n\r\n"));
  EXPECT_EQ(platform.messages,
            (QStringList{QStringLiteral("1 byte sequence(s) not valid in UTF-8 were replaced by "
                                        "\uFFFD (U+FFFD), the first at line 3."),
                         kSuccess}));
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("Caf\u00E9 cr\u00E8me\uFFFD"));
  EXPECT_EQ(form.Edit2->toolTip(), QStringLiteral("Read as UTF-8"));
}

// Markup without effect and characters no font can draw are said in the
// load's one message, with the cue of the first.
TEST_F(GenerationTest, ALoadReportsMarkupLeftOutAndCharactersWithoutGlyph) {
  form.i_dont_have_ifo->click();
  load(write("marked.srt",
             "1\r\n00:00:01,000 --> 00:00:03,000\r\nPlain\r\n\r\n"
             "2\r\n00:00:04,000 --> 00:00:05,000\r\n<font color=\"red\">Red</font>\r\n\r\n"
             "3\r\n00:00:06,000 --> 00:00:07,000\r\nBox \xEE\x80\x80\r\n"));
  EXPECT_EQ(platform.messages,
            (QStringList{QStringLiteral("1 markup tag(s) that a subpicture cannot show were left "
                                        "out, the first in cue 2: <font color=\"red\">.\r"
                                        "No installed font can draw \"\uE000\" (U+E000), first in "
                                        "cue 3; they come out as empty boxes. Install a font that "
                                        "covers them."),
                         kSuccess}));
  EXPECT_EQ(form.ListBox1->item(1)->text(), QStringLiteral("<font color=\"red\">Red</font>"));
}

// An 8-bit file's list shows its text in the Font Charset's code page, and
// again after each change of the charset, on the same row.
TEST_F(GenerationTest, TheListReadsAnEightBitFileInTheCharsetsCodePage) {
  form.i_dont_have_ifo->click();
  load(write("ru.srt",
             "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
             "2\r\n00:00:03,000 --> 00:00:04,000\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xC4\xE0\r\n"));
  ASSERT_EQ(form.ListBox1->count(), 2);
  EXPECT_EQ(form.ListBox1->item(1)->text(),
            QStringLiteral("\u00CF\u00F0\u00E8\u00E2\u00E5\u00F2 | \u00C4\u00E0"));
  form.ListBox1->setCurrentRow(1);
  const auto chooseCharset = [this](const QString& name) {
    const int index = form.ComboBox7->findText(name);
    form.ComboBox7->setCurrentIndex(index);
    emit form.ComboBox7->activated(index);
  };
  chooseCharset(QStringLiteral("RUSSIAN"));
  ASSERT_EQ(form.ListBox1->count(), 2);
  EXPECT_EQ(form.ListBox1->item(1)->text(),
            QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442 | \u0414\u0430"));
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("One"));
  EXPECT_EQ(form.ListBox1->currentRow(), 1);
  chooseCharset(QStringLiteral("GREEK"));
  EXPECT_EQ(form.ListBox1->item(1)->text().left(2), QStringLiteral("\u039F\u03C0"));
}

// The Font Charset picks the code page an 8-bit file is read in at load: a
// byte that code page lacks is said in the load's message, and a change of
// the charset reads the file again, the list and the preview showing the
// new reading as a UTF-8 file of the same text shows it.
TEST_F(GenerationTest, AChangeOfCharsetReadsAnEightBitFileAgain) {
  form.i_dont_have_ifo->click();
  const auto chooseCharset = [this](const QString& name) {
    const int index = form.ComboBox7->findText(name);
    form.ComboBox7->setCurrentIndex(index);
    emit form.ComboBox7->activated(index);
  };
  chooseCharset(QStringLiteral("RUSSIAN"));
  load(write("ru.srt", "1\r\n00:00:01,000 --> 00:00:03,000\r\n\xCD\xE5\x98\r\n"));
  EXPECT_EQ(platform.messages,
            (QStringList{QStringLiteral("1 byte sequence(s) not valid in CP1251 were replaced by "
                                        "\uFFFD (U+FFFD), the first at line 3."),
                         kSuccess}));
  ASSERT_EQ(form.ListBox1->count(), 1);
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("\u041D\u0435\uFFFD"));
  form.ListBox1->setCurrentRow(0);
  const QImage russian = form.preview->picture();

  platform.messages.clear();
  chooseCharset(QStringLiteral("DEFAULT"));
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("\u00CD\u00E5\u02DC"));
  const QImage western = form.preview->picture();
  EXPECT_NE(western, russian);

  load(write("western.srt", "1\r\n00:00:01,000 --> 00:00:03,000\r\n\xC3\x8D\xC3\xA5\xCB\x9C\r\n"));
  form.ListBox1->setCurrentRow(0);
  form.RedrawPreviewSelected();
  EXPECT_EQ(form.preview->picture(), western);
}

// A good load and run, then loads that find nothing or stop early: each
// keeps the loaded list, the path shown and the flags, and the next run
// writes the good stream again.
TEST_F(GenerationTest, ALoadThatFindsNoSubtitleKeepsTheEarlierOne) {
  form.i_dont_have_ifo->click();
  const QString good = write("film.srt", kSrt);
  load(good);
  form.Button3->click();
  const QByteArray stream = contents("Generated.sup");
  ASSERT_EQ(PacketCount(stream), 2);

  const QString styled = write("film.ass", "[Script Info]\r\nTitle: x\r\n");
  const QString noRate = write("film.sub", "{25}{100}Hi\n");
  platform.messages.clear();
  for (const QString& path : {styled, noRate}) {
    load(path);
    EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1000", "62340"}));
    EXPECT_EQ(form.ListBox1->count(), 2);
    EXPECT_EQ(form.Edit2->text(), good);
    EXPECT_TRUE(form.SubtitlesLoaded);
    EXPECT_TRUE(form.AllLinesFit);
    EXPECT_FALSE(form.FrameRateMissing);
  }
  EXPECT_EQ(platform.errors, (QStringList{"No subtitle was found in " + styled + "."}));
  EXPECT_EQ(platform.messages,
            QStringList{"The first line of the sub must contain the framerate. Ex: {1}{1}25.000"});

  platform.messages.clear();
  form.Button3->click();
  EXPECT_EQ(contents("Generated.sup"), stream);
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].startsWith("All Done !!!"));
}

// A file with a cue too wide or too tall for the frame is refused before its
// cues are shown: the window stays as the earlier load left it, and a run
// writes the earlier cues again.
TEST_F(GenerationTest, ALoadRefusedForACueThatDoesNotFitKeepsTheEarlierOne) {
  form.i_dont_have_ifo->click();
  const QString wide(120, u'W');
  const QString tooWide = write(
      "wide.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nshort\r\n" + wide.toLatin1() + "\r\n");
  QByteArray thirty =
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
      "2\r\n00:00:03,000 --> 00:00:04,000\r\n";
  for (int i = 1; i <= 30; ++i) {
    thirty += "Line " + QByteArray::number(i) + "\r\n";
  }
  const QString tooTall = write("tall.srt", thirty);
  const QStringList refusals{
      "The string \rshort\r" + wide +
          "\ris too long. Please correct the srt and reload it. You can just use a smaler font "
          "size. Or tick \"Wrap long lines\".",
      "Cue 2 has 30 lines, more than the frame holds in this font size and offset: its lines "
      "would be cut off at the frame's edge. Please use a smaller font size or a lower offset."};

  // Nothing loaded before: nothing loaded after.
  load(tooWide);
  load(tooTall);
  EXPECT_EQ(platform.messages, refusals);
  EXPECT_EQ(form.ListBox1->count(), 0);
  EXPECT_TRUE(form.LoadedCues.empty());
  EXPECT_TRUE(form.LoadedCues.empty());
  EXPECT_FALSE(form.SubtitlesLoaded);
  EXPECT_EQ(form.Edit2->text(), QStringLiteral("Load SRT"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Tesmora By Ovandel"));

  const QString good = write("film.srt", kSrt);
  load(good);
  form.Button3->click();
  const QByteArray stream = contents("Generated.sup");
  ASSERT_EQ(PacketCount(stream), 2);
  form.ListBox1->setCurrentRow(1);
  const QImage preview = form.preview->picture();

  platform.messages.clear();
  load(tooWide);
  load(tooTall);
  EXPECT_EQ(platform.messages, refusals);
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1000", "62340"}));
  EXPECT_EQ(testing::CueLines(form, 0), (QByteArrayList{"Hello", "One line"}));
  EXPECT_EQ(testing::CueLines(form, 1), (QByteArrayList{"World", ""}));
  EXPECT_EQ(form.LoadedCues.size(), 2u);
  ASSERT_EQ(form.ListBox1->count(), 2);
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("Hello | World"));
  EXPECT_EQ(form.ListBox1->currentRow(), 1);
  EXPECT_EQ(form.preview->picture(), preview);
  EXPECT_EQ(form.Edit2->text(), good);
  EXPECT_TRUE(form.SubtitlesLoaded);
  EXPECT_TRUE(form.AllLinesFit);

  platform.messages.clear();
  form.Button3->click();
  EXPECT_EQ(contents("Generated.sup"), stream);
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].startsWith("All Done !!!"));
}

// Cues that fit alone but not stacked together are loaded, and the load's
// message names them.
TEST_F(GenerationTest, ALoadNamesCuesThatDoNotFitTogether) {
  form.i_dont_have_ifo->click();
  form.ComboBox6->setCurrentText(QStringLiteral("40"));
  QByteArray stacked;
  for (int i = 1; i <= 5; ++i) {
    stacked += QByteArray::number(i) + "\r\n00:00:0" + QByteArray::number(i) +
               ",000 --> 00:00:09,000\r\nCue " + QByteArray::number(i) + "\r\nsecond line\r\n\r\n";
  }
  platform.messages.clear();
  load(write("stacked.srt", stacked));
  ASSERT_EQ(platform.messages.size(), 2);
  EXPECT_TRUE(platform.messages[0].endsWith(
      "\rCues shown at the same time do not all fit in the frame together, and their lines "
      "beyond its edge are cut off: cues 1 to 5. Please use a smaller font size or a lower "
      "offset."))
      << platform.messages[0].toStdString();
  EXPECT_EQ(platform.messages[1], kSuccess);
  EXPECT_EQ(form.ListBox1->count(), 5);
}

TEST_F(GenerationTest, ALoadStoppedAtABadCueKeepsTheEarlierOne) {
  form.i_dont_have_ifo->click();
  const QString good = write("film.srt", kSrt + "3\r\n00:02:00,000 --> 00:02:01,000\r\nThird\r\n");
  load(good);
  form.Button3->click();
  const QByteArray stream = contents("Generated.sup");
  ASSERT_EQ(PacketCount(stream), 3);

  load(write("bad.srt",
             "1\r\n00:00:01,000 --> 00:00:03,000\r\nOne\r\n\r\n"
             "2\r\n-1:00:01,000 --> 00:00:09,000\r\nTwo\r\n\r\n"
             "3\r\n00:00:10,000 --> 00:00:11,000\r\nThree\r\n"));
  EXPECT_EQ(platform.errors,
            QStringList{"The subtitle at line 6 starts before the beginning of the video "
                        "(-1:00:01,000 --> 00:00:09,000); a subpicture cannot start before 0. "
                        "Please correct the file and load it again."});
  EXPECT_EQ(testing::CueLines(form, 0), (QByteArrayList{"Hello", "One line", "Third"}));
  EXPECT_EQ(form.ListBox1->count(), 3);
  EXPECT_EQ(form.Edit2->text(), good);
  EXPECT_TRUE(form.SubtitlesLoaded);

  form.Button3->click();
  EXPECT_EQ(contents("Generated.sup"), stream);
}

TEST_F(GenerationTest, ARunWithoutSubtitlesIsRefusedAndWritesNothing) {
  form.i_dont_have_ifo->click();
  form.SubtitlesLoaded = true;  // as a style check with nothing loaded leaves it
  write("Generated.sup", "an earlier stream");
  form.OpenDialog2.fileName = folder.filePath("film.srt");
  form.Button3->click();
  EXPECT_EQ(platform.messages,
            QStringList{"There is no subtitle to write: load a file that holds subtitles."});
  EXPECT_EQ(contents("Generated.sup"), QByteArray("an earlier stream"));
  EXPECT_EQ(contents("Tesmora_Help_File.txt"), QByteArray("missing"));
}

TEST_F(GenerationTest, LoadErrorsStopTheLoadUnderItsCaption) {
  form.i_dont_have_ifo->click();
  const QString gone = folder.filePath("gone.srt");
  load(gone);
  EXPECT_EQ(platform.errors, QStringList{"Cannot open file " + gone + "."});
  EXPECT_EQ(form.windowTitle(), kLoading);

  load(write("bad.srt", kSrt + "3\r\n-1:00:01,000 --> 00:00:09,000\r\nBad\r\n"));
  EXPECT_TRUE(platform.errors.last().startsWith("The subtitle at line 11 starts before"));
  EXPECT_TRUE(form.LoadedCues.empty());      // nothing of the stopped load
  EXPECT_TRUE(platform.messages.isEmpty());  // the check did not run
  EXPECT_FALSE(form.SubtitlesLoaded);
}

TEST_F(GenerationTest, ReportsTimingLinesItCouldNotReadBeforeTheCheck) {
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt + "3\r\n00:00:09 --> 00:00:10\r\nLost\r\n"));
  EXPECT_EQ(platform.messages,
            (QStringList{"Some subtitles could not be read: 1 timing line(s) not understood. "
                         "First at line 11:\r00:00:09 --> 00:00:10",
                         kSuccess}));
  EXPECT_EQ(form.LoadedCues.size(), 2u);
}

TEST_F(GenerationTest, GeneratingNeedsLoadedSubtitlesAndAPalette) {
  form.Button3->click();
  EXPECT_EQ(platform.messages, QStringList{"Please load an Srt/Sub/Txt subtitle."});
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt));
  form.i_dont_have_ifo->click();  // the palette goes
  form.Button3->click();
  EXPECT_EQ(platform.messages.last(),
            QStringLiteral("Please load an Ifo file, or tick the box for having none, before "
                           "generating the sup."));
  EXPECT_FALSE(QFile::exists(folder.filePath("Generated.sup")));
}

TEST_F(GenerationTest, WritesOnePacketPerSubtitleAndTheNoIfoHelp) {
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt));
  platform.messages.clear();
  // The run shows the busy cursor until it ends, its message included.
  QList<int> busyAtBox;
  platform.onBox = [this, &busyAtBox] { busyAtBox << platform.busyDepth; };
  form.Button3->click();
  EXPECT_EQ(platform.busySpells, 1);
  EXPECT_EQ(platform.busyDepth, 0);
  EXPECT_EQ(busyAtBox, QList<int>{1});
  const QByteArray stream = contents("Generated.sup");
  EXPECT_EQ(PacketCount(stream), 2);
  // The first packet starts at 1000 ms: 90000 ticks, little-endian.
  EXPECT_EQ(stream.mid(2, 4), QByteArray("\x90\x5F\x01\x00", 4));
  const QString dir = folder.path();
  EXPECT_EQ(
      platform.messages,
      QStringList{QString::fromStdString(HelpMessage(HelpCase::NoIfo, dir.toStdString() + "/"))});
  EXPECT_EQ(contents("Tesmora_Help_File.txt"), HelpFileBytes(HelpCase::NoIfo, dir));
  EXPECT_EQ(form.ProgressBar1->maximum(), 2);
  EXPECT_TRUE(form.Button2->isEnabled());
  EXPECT_TRUE(form.ComboBox6->isEnabled());
  EXPECT_FALSE(form.Button1->isEnabled());      // still disabled by the no-IFO box
  EXPECT_EQ(platform.pendingEventRuns, 1 + 2);  // the load once, the run once per subtitle

  form.Button3->click();
  EXPECT_EQ(contents("Generated.sup"), stream);
}

TEST_F(GenerationTest, BothGenericCasesShowTheirMessagesAndTheLastWritesTheFile) {
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt));
  form.MonochromeIfo = true;
  platform.messages.clear();
  form.Button3->click();
  ASSERT_EQ(platform.messages.size(), 2);
  EXPECT_TRUE(platform.messages[0].startsWith("All Done !!! (Case : No Ifo)"));
  EXPECT_TRUE(platform.messages[1].startsWith("All Done !!! (Case : Monocromatic Ifo)"));
  EXPECT_EQ(contents("Tesmora_Help_File.txt"),
            HelpFileBytes(HelpCase::MonocromaticIfo, folder.path()));
}

TEST_F(GenerationTest, AnIfoPaletteGivesTheWithIfoHelp) {
  testing::IfoBuilder ifo;
  for (std::size_t n = 0; n < 16; ++n) {
    ifo.entries[n] = 0x00508040;
  }
  ifo.entries[0] = 0x00108080;
  ifo.entries[1] = 0x00808080;
  ifo.entries[2] = 0x00EB8080;
  const QString ifoPath = folder.filePath("VTS_01_0.IFO");
  testing::IfoBuilder::Write(ifoPath.toStdString(), ifo.bytes());
  platform.chosenFiles = {ifoPath};
  form.Button1->click();
  load(write("film.srt", kSrt));
  platform.messages.clear();
  form.Button3->click();
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].startsWith("All Done !!! (Case : With Ifo)"));
  const QByteArray stream = contents("Generated.sup");
  // Colours: antialias 1, outline 0, text 2, background 0.
  EXPECT_NE(stream.indexOf(QByteArray("\x01\x03\x10\x20\x04\xFF\xF0", 7)), -1);
}

// A folder named in another encoding, as the file system holds it: the load
// reads from it, and the run writes into it and names it by its bytes.
TEST_F(GenerationTest, ReadsAndWritesInAFolderNamedInAnotherEncoding) {
  const QByteArray bad = QFile::encodeName(folder.path()) +
                         "/bad\xFF"
                         "byte";
  ASSERT_EQ(::mkdir(bad.constData(), 0700), 0);
  ASSERT_EQ(::rename(QFile::encodeName(write("film.srt", kSrt)).constData(),
                     (bad + "/film.srt").constData()),
            0);
  form.i_dont_have_ifo->click();
  load(FileNameText(bad + "/film.srt"));
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1000", "62340"}));
  platform.messages.clear();
  form.Button3->click();
  EXPECT_TRUE(platform.errors.isEmpty());
  QByteArray expected;
  for (const std::string& line : HelpFileLines(HelpCase::NoIfo, bad.toStdString() + "/")) {
    expected += QByteArray::fromStdString(line) + "\r\n";
  }
  QFile written;
  ASSERT_TRUE(OpenForReading(written, FileNameText(bad + "/Tesmora_Help_File.txt")));
  EXPECT_EQ(written.readAll(), expected);
  QFile stream;
  ASSERT_TRUE(OpenForReading(stream, FileNameText(bad + "/Generated.sup")));
  EXPECT_EQ(PacketCount(stream.readAll()), 2);
  for (const char* name : {"/film.srt", "/Generated.sup", "/Tesmora_Help_File.txt"}) {
    ::unlink((bad + name).constData());
  }
  ::rmdir(bad.constData());
}

TEST_F(GenerationTest, AnOutputFailureEndsTheRunKeepingWhatWasThere) {
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt));
  ASSERT_TRUE(QDir(folder.path()).mkpath("Generated.sup/held"));
  platform.messages.clear();
  form.Button3->click();
  ASSERT_EQ(platform.errors.size(), 1);
  EXPECT_EQ(platform.errors[0], QStringLiteral("File is a folder."));
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_FALSE(QFile::exists(folder.filePath("Tesmora_Help_File.txt")));
  EXPECT_TRUE(QDir(folder.filePath("Generated.sup/held")).exists());
  EXPECT_TRUE(form.Button3->isEnabled());
  EXPECT_TRUE(form.Button2->isEnabled());
}

TEST_F(GenerationTest, AHelpFileThatCannotBeWrittenChangesNoFileAndShowsNoSuccess) {
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt));
  write("Generated.sup", "earlier stream");
  ASSERT_TRUE(QDir(folder.path()).mkpath("Tesmora_Help_File.txt/held"));
  platform.messages.clear();
  form.Button3->click();
  EXPECT_EQ(platform.errors, QStringList{"File is a folder."});
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_EQ(contents("Generated.sup"), "earlier stream");
  EXPECT_EQ(QDir(folder.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList{"Generated.sup", "Tesmora_Help_File.txt", "film.srt"}));
  EXPECT_TRUE(form.Button3->isEnabled());
}

TEST_F(GenerationTest, WithoutAHelpCaseOnlyTheStreamIsWritten) {
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt));
  form.NoIfoChosen = false;
  platform.messages.clear();
  form.Button3->click();
  EXPECT_TRUE(platform.messages.isEmpty());
  EXPECT_TRUE(platform.errors.isEmpty());
  EXPECT_EQ(PacketCount(contents("Generated.sup")), 2);
  EXPECT_EQ(QDir(folder.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            (QStringList{"Generated.sup", "film.srt"}));
}

TEST_F(GenerationTest, ListsCuesInTimeOrderAndReportsTheTimingInOneMessage) {
  form.i_dont_have_ifo->click();
  load(write("film.srt",
             "1\r\n00:00:05,000 --> 00:00:08,000\r\nlast\r\n\r\n"
             "2\r\n00:00:01,000 --> 00:00:03,000\r\nfirst\r\n\r\n"
             "3\r\n00:00:02,000 --> 00:00:04,000\r\nsecond\r\n\r\n"
             "4\r\n00:00:09,000 --> 00:00:10,000\r\n\r\n"));
  EXPECT_EQ(platform.messages,
            (QStringList{"The subtitle whose timing is at line 14 has no text and was left out."
                         "\r1 subtitle was out of order; it is written in time order (subtitle 2)."
                         "\r2 subtitles overlap others; they are drawn together while they "
                         "overlap (first: subtitle 2).",
                         kSuccess}));
  EXPECT_EQ(testing::CueStarts(form), (QByteArrayList{"1000", "2000", "5000"}));
  EXPECT_EQ(testing::CueLines(form, 0), (QByteArrayList{"first", "second", "last"}));
  ASSERT_EQ(form.ListBox1->count(), 3);
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("first"));

  form.Button3->click();
  // Stretches: first; first and second; second; last.
  EXPECT_EQ(PacketCount(contents("Generated.sup")), 4);
}

TEST_F(GenerationTest, ATimePastTheTimeStampsRangeStopsTheLoad) {
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt + "3\r\n13:15:22,000 --> 13:15:23,000\r\nToo late\r\n"));
  EXPECT_EQ(platform.errors,
            QStringList{"Subtitle 3, starting at 13:15:22,000: its start time cannot be written "
                        "as a time stamp (0 to 47721858 ms)."});
  EXPECT_FALSE(form.SubtitlesLoaded);
  EXPECT_TRUE(form.LoadedCues.empty());
}

}  // namespace
}  // namespace tesmora
