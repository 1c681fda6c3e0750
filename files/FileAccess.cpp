#include "files/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

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

QString SystemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
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

bool IsWritableFolder(const QString& path) {
  return IsFolder(path) && ::access(FileNameBytes(path).constData(), W_OK) == 0;
}

QString ProgramFolder() {
  std::error_code failed;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (failed) {
    return QCoreApplication::applicationDirPath();
  }
  return PathText(executable.parent_path());
}

std::optional<QString> ReplaceFile(const QString& path, const QByteArray& bytes) {
  std::filesystem::path target = Absolute(path);
  std::error_code failed;
  if (std::filesystem::is_symlink(target, failed)) {
    target = std::filesystem::weakly_canonical(target, failed);  // the file the link names
  }
  std::filesystem::create_directories(target.parent_path(), failed);
  if (failed) {
    return SystemReason(failed.value());
  }
  // The new file gets the old one's permissions, or those of a new file.
  struct stat status {};
  const mode_t mode = ::stat(target.c_str(), &status) == 0 ? status.st_mode & 07777 : 0644;
  std::string temporary = target.native() + ".XXXXXX";
  const int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) {
    return SystemReason(errno);
  }
  ::fchmod(descriptor, mode);
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  int error = 0;
  while (left > 0 && error == 0) {
    const ssize_t written = ::write(descriptor, data, static_cast<std::size_t>(left));
    if (written < 0 && errno != EINTR) {
      error = errno;
    } else if (written > 0) {
      data += written;
      left -= written;
    }
  }
  if (error == 0 && ::fsync(descriptor) != 0) {
    error = errno;
  }
  if (::close(descriptor) != 0 && error == 0) {
    error = errno;
  }
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
    return SystemReason(error);
  }
  return std::nullopt;
}

}  // namespace tesmora
