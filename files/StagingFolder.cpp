#include "files/StagingFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/InterruptCleanup.h"
#include "files/OutputFileError.h"

namespace tesmora {
namespace {

constexpr int kNameAttempts = 100;

// Whether `path` still names the folder open as `descriptor`.
bool NamesOpenFolder(const std::filesystem::path& path, int descriptor) {
  struct stat open {};
  struct stat named {};
  return ::fstat(descriptor, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         S_ISDIR(named.st_mode) && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Writes all of `bytes` to `descriptor`: 0 or the errno value.
int WriteAll(int descriptor, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return written < 0 ? errno : EIO;
    }
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

StagingFolder::StagingFolder(const std::filesystem::path& folder, const std::string& firstTarget,
                             const std::function<std::uint64_t()>& nameBits) {
  const std::filesystem::path target = folder / firstTarget;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::filesystem::path candidate = folder / TemporaryNameFor(firstTarget, nameBits());
    if (::mkdir(candidate.c_str(), 0700) != 0) {
      if (errno == EEXIST) {
        continue;
      }
      throw OutputFileError(target, errno);
    }
    const int descriptor =
        ::open(candidate.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
      // A run clearing stale folders removed it before it could be opened.
      continue;
    }
    // As with a single temporary file: a run clearing stale folders may
    // have locked it first and be removing it; then take another name.
    const bool takenByOther = ::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (takenByOther || !NamesOpenFolder(candidate, descriptor)) {
      ::close(descriptor);
      continue;
    }
    descriptor_ = descriptor;
    path_ = candidate;
    cleanupSlot_ = RegisterTemporaryFolder(path_.c_str());
    return;
  }
  throw OutputFileError(target, EEXIST);
}

StagingFolder::~StagingFolder() {
  for (const std::string& name : written_) {
    ::unlinkat(descriptor_, name.c_str(), 0);
  }
  ::rmdir(path_.c_str());
  ForgetTemporaryFile(cleanupSlot_);
  ::close(descriptor_);
}

void StagingFolder::write(const std::filesystem::path& target,
                          std::span<const std::uint8_t> bytes) {
  const std::string name = target.filename().string();
  const int file = ::openat(descriptor_, name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (file < 0) {
    throw OutputFileError(target, errno);
  }
  written_.insert(name);
  int error = WriteAll(file, bytes);
  if (::close(file) != 0 && error == 0 && errno != EINTR) {
    error = errno;
  }
  if (error != 0) {
    ::unlinkat(descriptor_, name.c_str(), 0);
    written_.erase(name);
    throw OutputFileError(target, error);
  }
}

void StagingFolder::sync(const std::filesystem::path& target) {
  // One call for the whole folder's file system: an fsync for each of a
  // thousand files would take seconds.
  if (::syncfs(descriptor_) != 0) {
    throw OutputFileError(target, errno);
  }
}

int StagingFolder::moveOver(const std::filesystem::path& target, const RenameStep& rename) {
  const std::string name = target.filename().string();
  const int error = rename(path_ / name, target);
  if (error == 0) {
    written_.erase(name);
  }
  return error;
}

}  // namespace tesmora
