#include "files/FileAccess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>

#include "files/FileNames.h"

namespace tesmora {
namespace {

// A folder named "bad\xFFbyte" with a file in it, made by the bytes.
class FileAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folderBytes = QFile::encodeName(root.path()) +
                  "/bad\xFF"
                  "byte";
    ASSERT_EQ(::mkdir(folderBytes.constData(), 0700), 0);
    FILE* file = std::fopen((folderBytes + "/film.srt").constData(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("content", file);
    std::fclose(file);
  }

  // Qt lists no name that is not UTF-8, so it cannot remove the folder.
  void TearDown() override {
    ::unlink((folderBytes + "/film.srt").constData());
    ::rmdir(folderBytes.constData());
  }

  QTemporaryDir root;
  QByteArray folderBytes;
};

TEST_F(FileAccessTest, ReachesNamesThatAreNotUTF8) {
  const QString folder = FileNameText(folderBytes);
  const QString path = folder + QStringLiteral("/film.srt");
  EXPECT_TRUE(PathExists(path));
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_FALSE(IsFolder(path));
  QFile file;
  ASSERT_TRUE(OpenForReading(file, path));
  EXPECT_EQ(file.readAll(), QByteArray("content"));
  EXPECT_EQ(FileNameBytes(FolderOfFile(path)), folderBytes + "/");

  // Through Qt's own encoding the byte is lost and the file is not found.
  EXPECT_FALSE(QFile::exists(QFile::decodeName(folderBytes + "/film.srt")));
}

TEST_F(FileAccessTest, RefusesFoldersAndMissingFilesForReading) {
  QFile file;
  EXPECT_FALSE(OpenForReading(file, FileNameText(folderBytes)));
  EXPECT_FALSE(OpenForReading(file, FileNameText(folderBytes + "/gone.srt")));
  EXPECT_FALSE(file.isOpen());
  EXPECT_FALSE(PathExists(QString()));
  EXPECT_FALSE(IsFolder(QString()));
}

TEST_F(FileAccessTest, MakesPathsAbsoluteByName) {
  char* saved = ::getcwd(nullptr, 0);
  ASSERT_EQ(::chdir(folderBytes.constData()), 0);
  const QString here = FileNameText(folderBytes);
  EXPECT_EQ(FolderOfFile(QStringLiteral("film.srt")), here + QLatin1Char('/'));
  EXPECT_EQ(AbsolutePath(QStringLiteral("x/../y/./")), here + QStringLiteral("/y"));
  EXPECT_EQ(AbsolutePath(QStringLiteral("..")), FileNameText(QFile::encodeName(root.path())));
  EXPECT_EQ(::chdir(saved), 0);
  std::free(saved);
  EXPECT_EQ(AbsolutePath(QStringLiteral("/")), QStringLiteral("/"));
  EXPECT_EQ(FolderOfFile(QStringLiteral("/film.srt")), QStringLiteral("/"));
  EXPECT_EQ(FolderOfFile(QStringLiteral("/a/b/../film.srt")), QStringLiteral("/a/"));
}

}  // namespace
}  // namespace tesmora
