#include "sup/OutputFileSet.h"

#include <algorithm>

#include "sup/InterruptCleanup.h"
#include "sup/StaleTemporaries.h"

namespace tesmora {

PendingFile& OutputFileSet::add(const std::filesystem::path& target) {
  const std::filesystem::path folder = target.parent_path();
  if (std::find(clearedFolders_.begin(), clearedFolders_.end(), folder) == clearedFolders_.end()) {
    RemoveStaleTemporaries(folder);
    clearedFolders_.push_back(folder);
  }
  files_.push_back(std::make_unique<PendingFile>(target));
  return *files_.back();
}

void OutputFileSet::commit() {
  try {
    for (const auto& file : files_) {
      file->finish();
    }
    for (const auto& file : files_) {
      file->checkTarget();
    }
    // A signal now would leave some targets replaced and others not.
    const SignalDeferral deferral;
    for (const auto& file : files_) {
      file->replaceTarget();
    }
  } catch (...) {
    discard();
    throw;
  }
  files_.clear();
}

void OutputFileSet::discard() noexcept {
  files_.clear();
}

}  // namespace tesmora
