#include "files/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "files/FileNames.h"

namespace tesmora {
namespace {

std::filesystem::path NativePath(const QString& path) {
  return FileNameBytes(path).toStdString();
}

QString PathText(const std::filesystem::path& path) {
  return FileNameText(QByteArray::fromStdString(path.native()));
}

std::filesystem::path Absolute(const QString& path) {
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::absolute(NativePath(path), ignored);
  absolute = absolute.lexically_normal();
  if (absolute.has_relative_path() && !absolute.has_filename()) {
    absolute = absolute.parent_path();  // "/a/b/" -> "/a/b"
  }
  return absolute;
}

}  // namespace

bool OpenForReading(QFile& file, const QString& path) {
  const int descriptor = ::open(FileNameBytes(path).constData(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode) ||
      !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return false;
  }
  return true;
}

bool PathExists(const QString& path) {
  struct stat status {};
  return !path.isEmpty() && ::stat(FileNameBytes(path).constData(), &status) == 0;
}

bool IsFolder(const QString& path) {
  struct stat status {};
  return !path.isEmpty() && ::stat(FileNameBytes(path).constData(), &status) == 0 &&
         S_ISDIR(status.st_mode);
}

QString AbsolutePath(const QString& path) {
  return PathText(Absolute(path));
}

QString FolderOfFile(const QString& filePath) {
  const QString folder = PathText(Absolute(filePath).parent_path());
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

}  // namespace tesmora
