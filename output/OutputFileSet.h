#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "files/KeptFile.h"
#include "files/PendingFile.h"
#include "files/RenameStep.h"
#include "files/StagingFolder.h"

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
  // `rename` puts each finished file over its target.
  explicit OutputFileSet(RenameStep rename = RenameFile) : rename_(std::move(rename)) {}
  OutputFileSet(const OutputFileSet&) = delete;
  OutputFileSet& operator=(const OutputFileSet&) = delete;

  // Starts a file that is to replace `target`. Throws OutputFileError.
  PendingFile& add(const std::filesystem::path& target);

  // Adds a file that is to replace `target`, written whole at once. Such
  // files go into one hidden folder of the set in their folder (see
  // StagingFolder.h) and hold no descriptor once written, so a set may hold
  // thousands of them. Throws OutputFileError.
  void addWhole(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

  // Removes the file at `target` with the commit: it is kept aside like a
  // replaced target and comes back if the set fails. Only a plain file or
  // a link is removed; nothing else at the name is touched.
  void remove(const std::filesystem::path& target);

  // Finishes every file and renames each over its target. Every check that
  // can fail (a write, the disk, a folder in a target's place, a target
  // that may not be replaced) is made for all files before the first
  // rename: each earlier target is kept aside first (see KeptFile.h). A
  // rename that still fails puts every target already replaced back.
  //
  // The renames are made while holding the lock of every folder of the set
  // (see FolderLocks.h), so the sets of two runs into one folder never mix;
  // a set waits for another run's set to be in place, not for its writing.
  //
  // Throws OutputFileError naming the file that failed; every temporary
  // file is then gone and every target as it was.
  void commit();

  // Removes every temporary file; no target changes.
  void discard() noexcept;

 private:
  // One change of the set: a file written through a PendingFile or a
  // staging folder replacing its target, or a target removed.
  struct Step {
    std::filesystem::path target;
    PendingFile* pending = nullptr;
    StagingFolder* staged = nullptr;
  };

  void clearFolder(const std::filesystem::path& folder);
  void replaceTargets();
  int apply(const Step& step, const KeptFile& kept);

  RenameStep rename_;
  std::vector<std::unique_ptr<PendingFile>> files_;
  std::map<std::filesystem::path, std::unique_ptr<StagingFolder>> staging_;
  std::vector<Step> steps_;
  std::vector<std::filesystem::path> clearedFolders_;
};

}  // namespace tesmora
