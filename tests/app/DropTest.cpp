// Files dropped on the main window, and the folders its dialogs remember.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include "app/DroppedFile.h"
#include "app/Settings.h"
#include "app/TForm1.h"
#include "files/FileAccess.h"
#include "files/FileNames.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

const QByteArray kSrt =
    "1\r\n00:00:01,000 --> 00:00:03,000\r\nHello\r\nWorld\r\n\r\n"
    "2\r\n00:01:02,340 --> 00:01:04,000\r\nOne line\r\n\r\n";

QList<QUrl> Local(const QString& path) {
  return {QUrl::fromLocalFile(path)};
}

TEST(FileToLoad, TakesOneSubtitleFileOrTitleSetIfo) {
  const auto kind = [](const QList<QUrl>& urls) {
    const std::optional<DroppedFile> file = FileToLoad(urls);
    return file ? static_cast<int>(file->kind) : -1;
  };
  const int subtitles = static_cast<int>(DroppedKind::Subtitles);
  const int ifo = static_cast<int>(DroppedKind::IfoPalette);
  EXPECT_EQ(kind(Local("/films/a.srt")), subtitles);
  EXPECT_EQ(kind(Local("/films/a.SUB")), subtitles);
  EXPECT_EQ(kind(Local("/films/a b.Txt")), subtitles);
  EXPECT_EQ(kind(Local("/films/VIDEO_TS/VTS_01_0.IFO")), ifo);
  EXPECT_EQ(kind(Local("/films/VIDEO_TS/vts_12_0.ifo")), ifo);
  EXPECT_EQ(FileToLoad(Local("/films/a.srt"))->path, QStringLiteral("/films/a.srt"));
  // Not a title set's first IFO, not a subtitle file, not one local file.
  EXPECT_EQ(kind(Local("/films/VIDEO_TS/VTS_01_1.IFO")), -1);
  EXPECT_EQ(kind(Local("/films/VIDEO_TS/VIDEO_TS.IFO")), -1);
  EXPECT_EQ(kind(Local("/films/a.srt.mkv")), -1);
  EXPECT_EQ(kind({QUrl(QStringLiteral("https://example.org/a.srt"))}), -1);
  EXPECT_EQ(kind({QUrl::fromLocalFile("/a.srt"), QUrl::fromLocalFile("/b.srt")}), -1);
  EXPECT_EQ(kind({}), -1);
}

class DropTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    return testing::WriteFile(folder.filePath(name), bytes);
  }
  // Drops the file on the window; true when the window took the drop.
  bool drop(const QString& path) { return drop(Local(path)); }
  bool drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted()) {
      return false;
    }
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    return drop.isAccepted();
  }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(DropTest, ADroppedSubtitleFileLoadsAsIfChosenInTheDialog) {
  form.i_dont_have_ifo->setChecked(true);
  const QString path = write("film.srt", kSrt);
  EXPECT_TRUE(drop(path));
  EXPECT_TRUE(platform.dialogs.empty());
  EXPECT_EQ(form.OpenDialog2.fileName, path);
  EXPECT_EQ(form.OpenDialog2.folder, folder.path());
  EXPECT_EQ(form.ListBox1->count(), 2);
  EXPECT_TRUE(form.SubtitlesLoaded);
}

// The drop goes through the button's checks; a file it did not take does
// not answer the next dialog.
TEST_F(DropTest, ADropTheHandlerRefusesLeavesTheNextDialogAlone) {
  const QString path = write("film.srt", kSrt);
  EXPECT_TRUE(drop(path));
  EXPECT_EQ(platform.messages,
            QStringList{"Please load an Ifo file first and then an Srt/Sub/Txt file."});
  EXPECT_EQ(form.ListBox1->count(), 0);
  form.Button2->click();
  EXPECT_EQ(platform.dialogs.size(), 1u);
}

TEST_F(DropTest, ADroppedIfoGoesThroughTheIfoLoad) {
  const QString path = write("VTS_01_0.IFO", "not an IFO");
  EXPECT_TRUE(drop(path));
  EXPECT_TRUE(platform.dialogs.empty());
  EXPECT_EQ(platform.messages.size(), 1);  // refused as the dialog's choice would be
  EXPECT_FALSE(form.PaletteReady);
  EXPECT_EQ(form.OpenDialog1.fileName, path);
  EXPECT_FALSE(drop(write("notes.doc", "x")));
}

TEST_F(DropTest, TheDialogsFoldersAreKeptInTheirOwnSection) {
  form.OpenDialog1.folder = QStringLiteral("/films/VIDEO_TS");
  form.OpenDialog2.folder = QStringLiteral("/films/subs");
  IniFile file;
  StoreSettings(form, file);
  EXPECT_EQ(file.value("Tesmora", "IfoFolder"), QByteArray("/films/VIDEO_TS"));
  EXPECT_EQ(file.value("Tesmora", "SubtitleFolder"), QByteArray("/films/subs"));
  EXPECT_EQ(file.value("Tesmora", "PalPictureFolder"), std::nullopt);
  EXPECT_EQ(file.value("Form1", "IfoFolder"), std::nullopt);

  testing::FakePlatform otherPlatform;
  TForm1 restarted(otherPlatform);
  RestoreSettings(restarted, file);
  EXPECT_EQ(restarted.OpenDialog1.folder, QStringLiteral("/films/VIDEO_TS"));
  EXPECT_EQ(restarted.OpenDialog2.folder, QStringLiteral("/films/subs"));
  EXPECT_TRUE(restarted.OpenDialogImagePAL.folder.isEmpty());
}

// A file manager names a file in a folder named in Latin-1 by the name's
// percent-encoded bytes: the drop loads it, and the folder is remembered as
// those bytes.
TEST_F(DropTest, AFolderNamedInAnotherEncodingLoadsAndIsRemembered) {
  form.i_dont_have_ifo->setChecked(true);
  const QByteArray latin = QFile::encodeName(folder.path()) + "/caf\xE9";
  ASSERT_EQ(::mkdir(latin.constData(), 0700), 0);
  ASSERT_EQ(ReplaceFile(FileNameText(latin + "/film.srt"), kSrt), std::nullopt);
  EXPECT_TRUE(drop({QUrl::fromEncoded("file://" + (latin + "/film.srt").toPercentEncoding("/"))}));
  EXPECT_TRUE(platform.errors.isEmpty());
  EXPECT_EQ(form.ListBox1->count(), 2);
  EXPECT_EQ(FileNameBytes(form.OpenDialog2.folder), latin);

  IniFile file;
  StoreSettings(form, file);
  EXPECT_EQ(file.value("Tesmora", "SubtitleFolder"), latin);
  testing::FakePlatform otherPlatform;
  TForm1 restarted(otherPlatform);
  RestoreSettings(restarted, file);
  EXPECT_EQ(FileNameBytes(restarted.OpenDialog2.folder), latin);
  ::unlink((latin + "/film.srt").constData());
  ::rmdir(latin.constData());
}

// A confirmed dialog remembers its folder; a cancelled one changes nothing.
TEST_F(DropTest, ADialogRemembersTheFolderOfItsChoice) {
  platform.chosenFiles = {QStringLiteral("/films/pictures/pal.bmp"), std::nullopt};
  FileDialog dialog{QString(), QString(), QString(), QStringLiteral("/old")};
  EXPECT_TRUE(platform.runOpenDialog(dialog));
  EXPECT_EQ(dialog.folder, QStringLiteral("/films/pictures"));
  EXPECT_FALSE(platform.runOpenDialog(dialog));
  EXPECT_EQ(dialog.folder, QStringLiteral("/films/pictures"));
}

}  // namespace
}  // namespace tesmora
