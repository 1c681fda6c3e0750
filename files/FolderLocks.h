#pragma once

#include <filesystem>
#include <vector>

namespace tesmora {

// The commit locks of the folders a set of output files goes into: an
// advisory lock (flock) on the hidden file kFolderLockName (see
// TemporaryName.h) in each folder. While a run holds them no other run
// replaces files in those folders, so every set on disk comes from one run.
//
// The lock file is created when missing and removed when the lock is
// released, so it is left in a folder only by a run killed meanwhile (the
// next run takes it over). A run that has waited for the lock checks that
// the name still holds the file it locked, and else starts over, so a lock
// file removed under a waiting run never gives two runs the lock. Where the
// file cannot be removed (another user's, in a sticky folder) it stays.
//
// Two names of one folder take its lock once, and the locks are taken in
// the order of the folders' device and inode numbers, so two runs locking
// the same folders never wait on each other in a circle. A file system
// without locks is used without them.
class FolderLocks {
 public:
  // Waits for the lock of each target's folder. Throws OutputFileError
  // naming a target whose folder is gone, or a lock file that cannot be
  // opened (something else planted at its name).
  explicit FolderLocks(const std::vector<std::filesystem::path>& targets);
  ~FolderLocks();
  FolderLocks(const FolderLocks&) = delete;
  FolderLocks& operator=(const FolderLocks&) = delete;

  // Releases the locks before the end of the object's life.
  void release() noexcept;

 private:
  struct Held {
    std::filesystem::path path;
    int descriptor;
  };
  std::vector<Held> held_;
};

}  // namespace tesmora
