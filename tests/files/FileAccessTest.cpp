#include "files/FileAccess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

TEST_F(FileAccessTest, ReplacesAFileAsAWholeInFoldersOfAnyName) {
  const QString file = FileNameText(folderBytes + "/new\xFE/settings.ini");
  EXPECT_EQ(ReplaceFile(file, "first"), std::nullopt);  // the folder is made
  QFile read;
  ASSERT_TRUE(OpenForReading(read, file));
  EXPECT_EQ(read.readAll(), QByteArray("first"));
  read.close();
  ASSERT_EQ(::chmod(FileNameBytes(file).constData(), 0640), 0);
  EXPECT_EQ(ReplaceFile(file, "second"), std::nullopt);
  ASSERT_TRUE(OpenForReading(read, file));
  EXPECT_EQ(read.readAll(), QByteArray("second"));
  struct stat status {};
  ASSERT_EQ(::stat(FileNameBytes(file).constData(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);
  ::unlink(FileNameBytes(file).constData());
  ::rmdir((folderBytes + "/new\xFE").constData());

  // A file where a folder should be: the reason, and nothing left behind.
  const std::optional<QString> failure =
      ReplaceFile(FileNameText(folderBytes + "/film.srt/settings.ini"), "x");
  ASSERT_TRUE(failure.has_value());
  EXPECT_FALSE(failure->isEmpty());
  EXPECT_EQ(::access((folderBytes + "/film.srt").constData(), F_OK), 0);
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
  EXPECT_TRUE(ProgramFolder().endsWith(QStringLiteral("/tests/files")))
      << ProgramFolder().toStdString();
  EXPECT_TRUE(IsFolder(ProgramFolder()));
  EXPECT_TRUE(IsWritableFolder(QDir::tempPath()));
  EXPECT_FALSE(IsWritableFolder(QStringLiteral("/proc/self/nothing")));
}

}  // namespace
}  // namespace tesmora
