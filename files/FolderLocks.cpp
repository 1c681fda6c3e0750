#include "files/FolderLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <tuple>

#include "files/OutputFileError.h"
#include "files/TemporaryName.h"

namespace tesmora {
namespace {

struct Folder {
  std::filesystem::path lockPath;
  dev_t device;
  ino_t inode;
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens the lock file at `path`, creating it readable by everyone so that
// other users writing into a shared folder can lock it too. It is opened
// for writing where allowed, since file systems that lock through the
// network want that; locally a lock needs only read access. Returns the
// descriptor, or -1 with errno set.
int OpenLockFile(const std::filesystem::path& path) {
  // Not blocking: a pipe planted at the name must not hold up the run.
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  for (;;) {
    const int created = ::open(path.c_str(), kFlags | O_RDWR | O_CREAT | O_EXCL, 0644);
    if (created >= 0) {
      (void)::fchmod(created, 0644);  // whatever the umask
      return created;
    }
    if (errno != EEXIST) {
      return -1;
    }
    int existing = ::open(path.c_str(), kFlags | O_RDWR);
    if (existing < 0 && errno == EACCES) {
      existing = ::open(path.c_str(), kFlags | O_RDONLY);
    }
    // Removed by its holder in between: create it again.
    if (existing >= 0 || errno != ENOENT) {
      return existing;
    }
  }
}

// Takes the lock of the file at `path`. Returns the descriptor holding it,
// or -1 with errno set.
int Lock(const std::filesystem::path& path) {
  for (;;) {
    const int descriptor = OpenLockFile(path);
    if (descriptor < 0) {
      return -1;
    }
    struct stat open {};
    const int error = ::fstat(descriptor, &open) != 0 ? errno
                      : S_ISDIR(open.st_mode)         ? EISDIR
                      : !S_ISREG(open.st_mode)        ? EINVAL
                                                      : 0;
    if (error != 0) {
      ::close(descriptor);
      errno = error;
      return -1;
    }
    int locked = 0;
    while ((locked = ::flock(descriptor, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
      return descriptor;  // no locks on this file system
    }
    struct stat named {};
    if (::lstat(path.c_str(), &named) == 0 && SameFile(open, named)) {
      return descriptor;
    }
    // The holder removed the file while this run waited for it.
    ::close(descriptor);
  }
}

}  // namespace

FolderLocks::FolderLocks(const std::vector<std::filesystem::path>& targets) {
  std::vector<Folder> folders;
  for (const auto& target : targets) {
    const std::filesystem::path folder =
        target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0) {
      throw OutputFileError(target, errno);
    }
    const bool known = std::any_of(folders.begin(), folders.end(), [&status](const Folder& f) {
      return f.device == status.st_dev && f.inode == status.st_ino;
    });
    if (!known) {
      folders.push_back({folder / kFolderLockName, status.st_dev, status.st_ino});
    }
  }
  std::sort(folders.begin(), folders.end(), [](const Folder& a, const Folder& b) {
    return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
  });
  for (const Folder& folder : folders) {
    const int descriptor = Lock(folder.lockPath);
    if (descriptor < 0) {
      const int error = errno;
      release();
      throw OutputFileError(folder.lockPath, error);
    }
    held_.push_back({folder.lockPath, descriptor});
  }
}

FolderLocks::~FolderLocks() {
  release();
}

void FolderLocks::release() noexcept {
  // Removed while still locked: a run waiting for it then finds the name
  // gone and starts over. Closing the file releases the lock.
  for (const Held& lock : held_) {
    ::unlink(lock.path.c_str());
    ::close(lock.descriptor);
  }
  held_.clear();
}

}  // namespace tesmora
