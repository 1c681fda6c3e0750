#include "output/OutputFileSet.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "files/FolderLocks.h"
#include "files/InterruptCleanup.h"
#include "files/KeptFile.h"
#include "files/OutputFileError.h"
#include "files/StaleTemporaries.h"

namespace tesmora {
namespace {

bool IsFolder(const std::filesystem::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsFileOrLink(const std::filesystem::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 &&
         (S_ISREG(status.st_mode) || S_ISLNK(status.st_mode));
}

}  // namespace

void OutputFileSet::clearFolder(const std::filesystem::path& folder) {
  if (std::find(clearedFolders_.begin(), clearedFolders_.end(), folder) == clearedFolders_.end()) {
    RemoveStaleTemporaries(folder);
    clearedFolders_.push_back(folder);
  }
}

PendingFile& OutputFileSet::add(const std::filesystem::path& target) {
  clearFolder(target.parent_path());
  files_.push_back(std::make_unique<PendingFile>(target));
  steps_.push_back({target, files_.back().get(), nullptr});
  return *files_.back();
}

void OutputFileSet::addWhole(const std::filesystem::path& target,
                             std::span<const std::uint8_t> bytes) {
  const std::filesystem::path folder = target.parent_path();
  clearFolder(folder);
  std::unique_ptr<StagingFolder>& staging = staging_[folder];
  if (!staging) {
    staging = std::make_unique<StagingFolder>(folder, target.filename().string());
  }
  staging->write(target, bytes);
  steps_.push_back({target, nullptr, staging.get()});
}

void OutputFileSet::remove(const std::filesystem::path& target) {
  if (IsFileOrLink(target)) {
    steps_.push_back({target, nullptr, nullptr});
  }
}

void OutputFileSet::commit() {
  try {
    for (const auto& file : files_) {
      file->finish();
    }
    // Each staging folder once; its first file names a failure.
    std::set<StagingFolder*> synced;
    for (const Step& step : steps_) {
      if (step.staged != nullptr && synced.insert(step.staged).second) {
        step.staged->sync(step.target);
      }
    }
    std::vector<std::filesystem::path> targets;
    targets.reserve(steps_.size());
    for (const Step& step : steps_) {
      if (step.pending != nullptr) {
        step.pending->checkTarget();
      } else if (step.staged != nullptr && IsFolder(step.target)) {
        throw OutputFileError(step.target, EISDIR);
      }
      targets.push_back(step.target);
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
  discard();
}

int OutputFileSet::apply(const Step& step, const KeptFile& kept) {
  if (step.pending != nullptr) {
    step.pending->replaceTarget(rename_);
    return 0;
  }
  if (step.staged != nullptr) {
    return IsFolder(step.target) ? EISDIR : step.staged->moveOver(step.target, rename_);
  }
  // A removed target kept by a second link still has its name to free; one
  // moved aside is gone already.
  if (kept.way == KeptFile::Way::kLinked && ::unlink(step.target.c_str()) != 0 && errno != ENOENT) {
    return errno;
  }
  return 0;
}

void OutputFileSet::replaceTargets() {
  // A file to remove that has meanwhile become something else is left.
  std::erase_if(steps_, [](const Step& step) {
    return step.pending == nullptr && step.staged == nullptr && !IsFileOrLink(step.target);
  });
  std::vector<KeptFile> kept;
  kept.reserve(steps_.size());
  std::size_t replaced = 0;
  try {
    for (const Step& step : steps_) {
      kept.push_back(KeepFile(step.target));
    }
    for (; replaced < steps_.size(); ++replaced) {
      if (const int error = apply(steps_[replaced], kept[replaced]); error != 0) {
        throw OutputFileError(steps_[replaced].target, error);
      }
    }
  } catch (...) {
    for (std::size_t i = kept.size(); i-- > 0;) {
      const bool removal = steps_[i].pending == nullptr && steps_[i].staged == nullptr;
      PutBack(kept[i], i < replaced && !(removal && kept[i].way == KeptFile::Way::kNothing));
    }
    throw;
  }
  for (const KeptFile& file : kept) {
    Drop(file);
  }
}

void OutputFileSet::discard() noexcept {
  steps_.clear();
  files_.clear();
  staging_.clear();
}

}  // namespace tesmora
