#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <span>
#include <string>

#include "files/RenameStep.h"
#include "files/TemporaryName.h"

namespace tesmora {

// A hidden folder of ours in an output folder, in which a set of many
// output files (a picture for each subtitle) is written before the files
// replace their targets. Each file is written whole, put on the disk and
// closed at once, so a run holds one descriptor for the folder however many
// files it writes, where a PendingFile holds one for each. The files reach
// the disk together, with sync(), before any of them replaces its target.
//
// The folder has a temporary name (see TemporaryName.h), made after the
// name of the first file written into it, and is created exclusively with
// access for its owner only. Its descriptor holds a lock (flock) for the
// whole run: a run that finds a temporary folder of ours it can lock knows
// that no live run owns it and clears it (see StaleTemporaries.h). It is
// registered for removal with everything in it on Ctrl-C, SIGTERM and
// SIGHUP.
//
// Every failure throws OutputFileError naming the target concerned. The
// folder is removed with whatever is left in it when the object goes.
class StagingFolder {
 public:
  // Creates the folder in `folder`, named after `firstTarget`.
  StagingFolder(const std::filesystem::path& folder, const std::string& firstTarget,
                const std::function<std::uint64_t()>& nameBits = RandomNameBits);
  ~StagingFolder();
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;

  // Writes `bytes` as the file that is to replace `target` (a file of the
  // output folder) and closes it. A target written twice fails with "File
  // exists".
  void write(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

  // Waits until every file written is on the disk: a rename that reached
  // the disk before the data would leave an empty file after a power loss.
  // A failure is named after `target`.
  void sync(const std::filesystem::path& target);

  // Renames the written file of `target` over it with `rename`: 0 or the
  // errno value of the failure.
  int moveOver(const std::filesystem::path& target, const RenameStep& rename);

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  int descriptor_ = -1;
  int cleanupSlot_ = -1;
  std::set<std::string> written_;  // the names still in the folder
};

}  // namespace tesmora
