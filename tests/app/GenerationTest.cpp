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
#include "sup/HelpFile.h"
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
  EXPECT_TRUE(form.Memo2->lines().isEmpty());
}

TEST_F(GenerationTest, LoadsAnSrtIntoTheListsAndPassesTheCheck) {
  form.i_dont_have_ifo->click();
  const QString path = write("film.Srt", kSrt);
  load(path);
  EXPECT_EQ(platform.messages, QStringList{kSuccess});
  EXPECT_EQ(form.Memo2->lines(), (QByteArrayList{"1000", "62340"}));
  EXPECT_EQ(form.Memo3->lines(), (QByteArrayList{"2000", "1660"}));
  EXPECT_EQ(form.Memo4->lines(), (QByteArrayList{"Hello", "One line"}));
  EXPECT_EQ(form.Memo5->lines(), (QByteArrayList{"World", ""}));
  EXPECT_EQ(form.Memo1->lines().size(), 9);
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
  EXPECT_EQ(form.Memo2->lines(), QByteArrayList{"1000"});
  EXPECT_EQ(form.ListBox1->item(0)->text(), QStringLiteral("{25}{100}Hi|there"));

  const QString other = write("film.doc", kSrt);
  load(other);
  EXPECT_EQ(platform.errors, QStringList{"No subtitle was found in " + other + "."});
  EXPECT_EQ(form.Memo2->lines(), QByteArrayList{"1000"});
  EXPECT_EQ(platform.messages, QStringList{kSuccess});
}

TEST_F(GenerationTest, AFrameFileWithoutRateLoadsNothing) {
  form.i_dont_have_ifo->click();
  load(write("film.sub", "{1}{1}29.97\n{25}{100}Hi\n"));
  EXPECT_EQ(platform.messages,
            QStringList{"The first line of the sub must contain the framerate. Ex: {1}{1}25.000"});
  EXPECT_FALSE(form.FrameRateMissing);
  EXPECT_FALSE(form.SubtitlesLoaded);
  EXPECT_EQ(form.ListBox1->count(), 0);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Tesmora By Ovandel"));
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

  QByteArray utf16("\xFF\xFE");
  for (const char byte : kSrt) {
    utf16 += QByteArray(1, byte) + QByteArray(1, '\0');
  }
  const QString wide = write("wide.srt", utf16);
  const QString styled = write("film.ass", "[Script Info]\r\nTitle: x\r\n");
  const QString noRate = write("film.sub", "{25}{100}Hi\n");
  platform.messages.clear();
  for (const QString& path : {wide, styled, noRate}) {
    load(path);
    EXPECT_EQ(form.Memo2->lines(), (QByteArrayList{"1000", "62340"}));
    EXPECT_EQ(form.Memo1->lines().size(), 9);
    EXPECT_EQ(form.ListBox1->count(), 2);
    EXPECT_EQ(form.Edit2->text(), good);
    EXPECT_TRUE(form.SubtitlesLoaded);
    EXPECT_TRUE(form.AllLinesFit);
    EXPECT_FALSE(form.FrameRateMissing);
  }
  EXPECT_EQ(platform.errors, (QStringList{"No subtitle was found in " + wide + ".",
                                          "No subtitle was found in " + styled + "."}));
  EXPECT_EQ(platform.messages,
            QStringList{"The first line of the sub must contain the framerate. Ex: {1}{1}25.000"});

  platform.messages.clear();
  form.Button3->click();
  EXPECT_EQ(contents("Generated.sup"), stream);
  ASSERT_EQ(platform.messages.size(), 1);
  EXPECT_TRUE(platform.messages[0].startsWith("All Done !!!"));
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
             "2\r\n00:00:0x,000 --> 00:00:09,000\r\nTwo\r\n\r\n"
             "3\r\n00:00:10,000 --> 00:00:11,000\r\nThree\r\n"));
  EXPECT_EQ(platform.errors, QStringList{"'0x' is not a valid integer value."});
  EXPECT_EQ(form.Memo4->lines(), (QByteArrayList{"Hello", "One line", "Third"}));
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

  load(write("bad.srt", kSrt + "3\r\n00:00:0x,000 --> 00:00:09,000\r\nBad\r\n"));
  EXPECT_EQ(platform.errors.last(), QStringLiteral("'0x' is not a valid integer value."));
  EXPECT_TRUE(form.Memo4->lines().isEmpty());  // nothing of the stopped load
  EXPECT_TRUE(platform.messages.isEmpty());    // the check did not run
  EXPECT_FALSE(form.SubtitlesLoaded);
}

TEST_F(GenerationTest, ReportsTimingLinesItCouldNotReadBeforeTheCheck) {
  form.i_dont_have_ifo->click();
  load(write("film.srt", kSrt + "3\r\n00:00:09 --> 00:00:10\r\nLost\r\n"));
  EXPECT_EQ(platform.messages,
            (QStringList{"Some subtitles could not be read: 1 timing line(s) not understood. "
                         "First at line 11:\r00:00:09 --> 00:00:10",
                         kSuccess}));
  EXPECT_EQ(form.Memo2->lines().size(), 2);
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
  EXPECT_EQ(form.ProgressBar1->maximum(), 1);
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
  EXPECT_EQ(form.Memo2->lines(), (QByteArrayList{"1000", "62340"}));
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

}  // namespace
}  // namespace tesmora
