#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "sup/PendingFile.h"

namespace tesmora {

// The output files of one run, written all or not at all. Each file is
// written into its PendingFile; commit() replaces the targets only once
// every file is complete, and a set destroyed without a successful commit
// removes its temporary files and changes no target.
//
// The first file added in a folder first clears that folder of temporary
// files that killed runs left behind.
class OutputFileSet {
 public:
  OutputFileSet() = default;
  OutputFileSet(const OutputFileSet&) = delete;
  OutputFileSet& operator=(const OutputFileSet&) = delete;

  // Starts a file that is to replace `target`. Throws OutputFileError.
  PendingFile& add(const std::filesystem::path& target);

  // Finishes every file and renames each over its target. Every check that
  // can fail (a write, the disk, a folder in a target's place) is made for
  // all files before the first rename. Throws OutputFileError naming the
  // file that failed; every temporary file is then gone, and no target has
  // changed unless a rename itself failed after every check had passed.
  void commit();

  // Removes every temporary file; no target changes.
  void discard() noexcept;

 private:
  std::vector<std::unique_ptr<PendingFile>> files_;
  std::vector<std::filesystem::path> clearedFolders_;
};

}  // namespace tesmora
