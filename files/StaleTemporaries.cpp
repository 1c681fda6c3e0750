#include "files/StaleTemporaries.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "files/TemporaryName.h"

namespace tesmora {
namespace {

// Removes the file at `path` when it is a plain file nobody holds locked.
// The lock is held while the name is checked and removed, so a run cannot
// take the file in between; the name must still be that of the locked file,
// since its owner may have renamed it into place meanwhile.
bool RemoveIfUnheld(const std::filesystem::path& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  bool removed = false;
  struct stat open {};
  struct stat named {};
  if (::fstat(descriptor, &open) == 0 && S_ISREG(open.st_mode) &&
      ::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
      named.st_dev == open.st_dev && named.st_ino == open.st_ino) {
    removed = ::unlink(path.c_str()) == 0;
  }
  ::close(descriptor);
  return removed;
}

// Whether the folder open as `descriptor` looks like a staging folder of
// ours: open to its owner alone, as one is made, and holding plain files
// only. Anything else with our name is left whole.
bool HoldsOnlyOurFiles(int descriptor, const struct stat& folder,
                       const std::vector<std::string>& names) {
  if ((folder.st_mode & 0077) != 0) {
    return false;
  }
  return std::all_of(names.begin(), names.end(), [descriptor](const std::string& name) {
    struct stat file {};
    return ::fstatat(descriptor, name.c_str(), &file, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(file.st_mode);
  });
}

// Removes the temporary folder at `path` (see StagingFolder.h) with the
// files in it when nobody holds it locked and it looks like ours.
bool RemoveFolderIfUnheld(const std::filesystem::path& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor < 0) {
    return false;
  }
  bool removed = false;
  struct stat open {};
  struct stat named {};
  if (::fstat(descriptor, &open) == 0 && ::flock(descriptor, LOCK_EX | LOCK_NB) == 0 &&
      ::lstat(path.c_str(), &named) == 0 && named.st_dev == open.st_dev &&
      named.st_ino == open.st_ino) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entry(path, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
      names.push_back(entry->path().filename().string());
    }
    if (!error && HoldsOnlyOurFiles(descriptor, open, names)) {
      for (const std::string& name : names) {
        ::unlinkat(descriptor, name.c_str(), 0);
      }
      removed = ::rmdir(path.c_str()) == 0;
    }
  }
  ::close(descriptor);
  return removed;
}

// Settles one kept file; see SettleKeptFiles.
bool Settle(const std::filesystem::path& kept, const std::filesystem::path& target) {
  struct stat keptStatus {};
  if (::lstat(kept.c_str(), &keptStatus) != 0 || S_ISDIR(keptStatus.st_mode)) {
    return false;
  }
  struct stat targetStatus {};
  if (::lstat(target.c_str(), &targetStatus) == 0) {
    return targetStatus.st_dev == keptStatus.st_dev && targetStatus.st_ino == keptStatus.st_ino &&
           ::unlink(kept.c_str()) == 0;
  }
  return errno == ENOENT &&
         ::renameat2(AT_FDCWD, kept.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0;
}

}  // namespace

int SettleKeptFiles(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entry(folder.empty() ? "." : folder, error);
  int settled = 0;
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::optional<std::string> target = KeptTargetName(entry->path().filename().string());
    if (target && Settle(entry->path(), entry->path().parent_path() / *target)) {
      ++settled;
    }
  }
  return settled;
}

int RemoveStaleTemporaries(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entry(folder.empty() ? "." : folder, error);
  int removed = 0;
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    if (!IsTemporaryName(entry->path().filename().string())) {
      continue;
    }
    std::error_code kind;
    const bool folder = entry->is_directory(kind) && !entry->is_symlink(kind);
    if (folder ? RemoveFolderIfUnheld(entry->path()) : RemoveIfUnheld(entry->path())) {
      ++removed;
    }
  }
  return removed;
}

}  // namespace tesmora
