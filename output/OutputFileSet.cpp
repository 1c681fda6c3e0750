#include "output/OutputFileSet.h"

#include <algorithm>

#include "files/FolderLocks.h"
#include "files/InterruptCleanup.h"
#include "files/KeptFile.h"
#include "files/StaleTemporaries.h"

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
    std::vector<std::filesystem::path> targets;
    for (const auto& file : files_) {
      file->checkTarget();
      targets.push_back(file->target());
    }
    // Waiting here for another run's set can still be stopped by a signal.
    FolderLocks locks(targets);
    // A signal now would leave some targets replaced and others not. The
    // locks go first, so that a signal held back meanwhile leaves no lock
    // file behind.
    const SignalDeferral deferral;
    try {
      for (const auto& folder : clearedFolders_) {
        SettleKeptFiles(folder);
      }
      replaceTargets();
    } catch (...) {
      locks.release();
      throw;
    }
    locks.release();
  } catch (...) {
    discard();
    throw;
  }
  files_.clear();
}

void OutputFileSet::replaceTargets() {
  std::vector<KeptFile> kept;
  kept.reserve(files_.size());
  std::size_t replaced = 0;
  try {
    for (const auto& file : files_) {
      kept.push_back(KeepFile(file->target()));
    }
    for (; replaced < files_.size(); ++replaced) {
      files_[replaced]->replaceTarget(rename_);
    }
  } catch (...) {
    for (std::size_t i = kept.size(); i-- > 0;) {
      PutBack(kept[i], i < replaced);
    }
    throw;
  }
  for (const KeptFile& file : kept) {
    Drop(file);
  }
}

void OutputFileSet::discard() noexcept {
  files_.clear();
}

}  // namespace tesmora
