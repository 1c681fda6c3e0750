#include "files/KeptFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/OutputFileError.h"

namespace tesmora {
namespace {

constexpr int kNameAttempts = 100;

// Whether a sticky folder lets only the file's owner, the folder's owner
// and privileged processes remove or replace the file, and this process is
// neither owner. A link would then succeed without telling whether the
// file may be replaced.
bool StickyGuarded(const struct stat& folder, const struct stat& file) {
  const uid_t self = ::geteuid();
  return (folder.st_mode & S_ISVTX) != 0 && folder.st_uid != self && file.st_uid != self;
}

// Renames `from` to `to` unless something is at `to`: 0 or the errno value.
int RenameToFreeName(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (errno != EINVAL) {
    return errno;
  }
  // A file system that cannot rename without replacing: the kept name is
  // random and hidden, so a file there is looked for first.
  struct stat existing {};
  if (::lstat(to.c_str(), &existing) == 0) {
    return EEXIST;
  }
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

KeptFile KeepFile(const std::filesystem::path& target,
                  const std::function<std::uint64_t()>& nameBits) {
  struct stat file {};
  if (::lstat(target.c_str(), &file) != 0) {
    if (errno == ENOENT) {
      return {target, {}, KeptFile::Way::kNothing};
    }
    throw OutputFileError(target, errno);
  }
  const std::filesystem::path folder = target.parent_path();
  struct stat folderStatus {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &folderStatus) != 0) {
    throw OutputFileError(target, errno);
  }
  const bool link = !StickyGuarded(folderStatus, file);
  const std::string name = target.filename().string();
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::filesystem::path kept = folder / KeptNameFor(name, nameBits());
    // Links the target itself, also when it is a symbolic link.
    if (link && ::linkat(AT_FDCWD, target.c_str(), AT_FDCWD, kept.c_str(), 0) == 0) {
      return {target, kept, KeptFile::Way::kLinked};
    }
    if (link && errno == EEXIST) {
      continue;
    }
    const int error = RenameToFreeName(target, kept);
    if (error == 0) {
      return {target, kept, KeptFile::Way::kAside};
    }
    if (error != EEXIST) {
      throw OutputFileError(target, error);
    }
  }
  throw OutputFileError(target, EEXIST);
}

bool PutBack(const KeptFile& file, bool replaced) noexcept {
  switch (file.way) {
    case KeptFile::Way::kNothing:
      return !replaced || ::unlink(file.target.c_str()) == 0;
    case KeptFile::Way::kLinked:
      if (!replaced) {
        // The target never changed; a link left over is removed by the
        // next run's clean-up.
        ::unlink(file.kept.c_str());
        return true;
      }
      return ::rename(file.kept.c_str(), file.target.c_str()) == 0;
    case KeptFile::Way::kAside:
      return ::rename(file.kept.c_str(), file.target.c_str()) == 0;
  }
  return false;
}

void Drop(const KeptFile& file) noexcept {
  if (file.way != KeptFile::Way::kNothing) {
    ::unlink(file.kept.c_str());
  }
}

}  // namespace tesmora
