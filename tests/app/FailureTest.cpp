// What the user sees when the disk, the folders or the files fail: a clear
// message, an earlier stream that survives, and never a success message.
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/TForm1.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

QByteArray ManyCues(int count) {
  QByteArray srt;
  for (int i = 0; i < count; ++i) {
    const QByteArray start = QByteArray::number(i / 60).rightJustified(2, '0') + ":" +
                             QByteArray::number(i % 60).rightJustified(2, '0');
    srt += QByteArray::number(i + 1) + "\r\n00:" + start + ",000 --> 00:" + start +
           ",500\r\nA line of text with many letters in it\r\nand another one below\r\n\r\n";
  }
  return srt;
}

class FailureTest : public ::testing::Test {
 protected:
  void SetUp() override { form.i_dont_have_ifo->click(); }

  static QString write(const QString& path, const QByteArray& bytes) {
    return testing::WriteFile(path, bytes);
  }
  void load(const QString& path) {
    platform.chosenFiles = {path};
    form.Button2->click();
    platform.messages.clear();
  }
  bool sawSuccess() const {
    for (const QString& message : platform.messages) {
      if (message.startsWith("All Done")) {
        return true;
      }
    }
    return false;
  }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(FailureTest, AFolderWithoutWriteAccess) {
  load(write(folder.filePath("film.srt"), ManyCues(3)));
  // The folder the run writes into is that of the loaded file.
  form.OpenDialog2.fileName = QStringLiteral("/sys/film.srt");
  form.Button3->click();
  EXPECT_EQ(platform.errors, QStringList{"File access denied."});
  EXPECT_FALSE(sawSuccess());
  EXPECT_TRUE(form.Button3->isEnabled());
}

TEST_F(FailureTest, AFullDiskKeepsTheEarlierStream) {
  QTemporaryDir mountPoint;
  if (::mount("tmpfs", mountPoint.path().toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "mounting a small file system needs root";
  }
  const QString earlier = mountPoint.filePath("Generated.sup");
  write(earlier, "an earlier stream");
  load(write(mountPoint.filePath("film.srt"), ManyCues(300)));
  form.Button3->click();
  const QByteArray kept = testing::ReadFile(earlier);
  const QStringList left = QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden);
  ::umount(mountPoint.path().toLocal8Bit().constData());
  EXPECT_EQ(platform.errors, QStringList{"Disk full."});
  EXPECT_FALSE(sawSuccess());
  EXPECT_EQ(kept, QByteArray("an earlier stream"));
  EXPECT_EQ(left.size(), 2);  // no partial file left behind
  EXPECT_TRUE(left.contains("Generated.sup"));
}

TEST_F(FailureTest, ASubtitleFileThatVanishedBeforeTheRead) {
  const QString path = write(folder.filePath("film.srt"), ManyCues(2));
  QFile::remove(path);
  load(path);
  EXPECT_EQ(platform.errors, QStringList{"Cannot open file " + path + "."});
  EXPECT_FALSE(form.SubtitlesLoaded);
}

TEST_F(FailureTest, ASubtitleFileThatIsAFolderOrTooLarge) {
  const QString folderPath = folder.filePath("film.srt");
  ASSERT_TRUE(QDir().mkpath(folderPath));
  load(folderPath);
  EXPECT_EQ(platform.errors,
            QStringList{"Cannot open file " + folderPath + ": it is not a regular file."});

  const QString large = write(folder.filePath("large.srt"), ManyCues(2));
  ASSERT_TRUE(QFile::resize(large, 64 * 1024 * 1024 + 1));
  platform.errors.clear();
  load(large);
  EXPECT_EQ(platform.errors, QStringList{"Cannot open file " + large +
                                         ": it holds 67108865 bytes, more than the 64 MiB a "
                                         "subtitle file may hold."});
  EXPECT_TRUE(form.LoadedCues.empty());
  EXPECT_FALSE(form.SubtitlesLoaded);
}

TEST_F(FailureTest, AnIfoThatIsAFolder) {
  form.i_dont_have_ifo->click();  // back to no palette, so "Load Ifo" works
  const QString path = folder.filePath("VTS_01_0.IFO");
  ASSERT_TRUE(QDir().mkpath(path));
  platform.chosenFiles = {path};
  form.Button1->click();
  const QStringList shown = platform.messages + platform.errors;
  EXPECT_EQ(shown, QStringList{"File is a folder."});
  EXPECT_FALSE(form.PaletteReady);
  EXPECT_TRUE(form.Swatches().empty());
}

}  // namespace
}  // namespace tesmora
