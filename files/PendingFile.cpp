#include "files/PendingFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/InterruptCleanup.h"
#include "files/OutputFileError.h"

namespace tesmora {
namespace {

constexpr std::size_t kBufferSize = std::size_t{1} << 16;
constexpr int kNameAttempts = 100;

// Whether `path` still names the file open as `descriptor`.
bool NamesOpenFile(const std::filesystem::path& path, int descriptor) {
  struct stat open {};
  struct stat named {};
  return ::fstat(descriptor, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool IsFolder(const std::filesystem::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

PendingFile::PendingFile(std::filesystem::path target,
                         const std::function<std::uint64_t()>& nameBits)
    : target_(std::move(target)) {
  checkTarget();
  const std::filesystem::path folder = target_.parent_path();
  const std::string targetName = target_.filename().string();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::filesystem::path candidate = folder / TemporaryNameFor(targetName, nameBits());
    const int descriptor =
        ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      if (errno == EEXIST) {
        continue;
      }
      throw OutputFileError(target_, errno);
    }
    // A run clearing stale files in this folder may have locked the new file
    // before this run could, and may have removed it: then take another name.
    // A file system without locks leaves the file unlocked but usable.
    const bool takenByOther = ::flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (takenByOther || !NamesOpenFile(candidate, descriptor)) {
      ::close(descriptor);
      continue;
    }
    descriptor_ = descriptor;
    temporary_ = candidate;
    cleanupSlot_ = RegisterTemporaryFile(temporary_.c_str());
    buffer_.reserve(kBufferSize);
    return;
  }
  throw OutputFileError(target_, EEXIST);
}

PendingFile::~PendingFile() {
  discard();
}

void PendingFile::write(std::span<const std::uint8_t> bytes) {
  if (descriptor_ < 0) {
    throw OutputFileError(target_, "File not open");
  }
  finished_ = false;
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  if (buffer_.size() >= kBufferSize) {
    flushBuffer();
  }
}

void PendingFile::write(std::string_view text) {
  write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void PendingFile::flushBuffer() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t written = ::write(descriptor_, buffer_.data() + done, buffer_.size() - done);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      fail(written < 0 ? errno : EIO);
    }
    done += static_cast<std::size_t>(written);
  }
  buffer_.clear();
}

void PendingFile::finish() {
  if (descriptor_ < 0) {
    throw OutputFileError(target_, "File not open");
  }
  flushBuffer();
  // Only then may the file replace the target: a rename that reaches the
  // disk before the data would leave an empty file after a power loss.
  if (::fsync(descriptor_) != 0 && errno != EINVAL) {
    fail(errno);
  }
  finished_ = true;
}

void PendingFile::checkTarget() const {
  if (IsFolder(target_)) {
    throw OutputFileError(target_, EISDIR);
  }
}

void PendingFile::replaceTarget(const RenameStep& rename) {
  if (!finished_) {
    finish();
  }
  if (IsFolder(target_)) {
    fail(EISDIR);
  }
  if (const int error = rename(temporary_, target_); error != 0) {
    fail(error);
  }
  ForgetTemporaryFile(cleanupSlot_);
  cleanupSlot_ = -1;
  temporary_.clear();
  close();
}

void PendingFile::discard() noexcept {
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    ForgetTemporaryFile(cleanupSlot_);
    cleanupSlot_ = -1;
    temporary_.clear();
  }
  close();
}

void PendingFile::close() noexcept {
  if (descriptor_ >= 0) {
    ::close(descriptor_);
    descriptor_ = -1;
  }
  buffer_.clear();
  finished_ = false;
}

void PendingFile::fail(int errnum) {
  discard();
  throw OutputFileError(target_, errnum);
}

}  // namespace tesmora
