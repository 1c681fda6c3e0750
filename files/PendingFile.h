#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "files/RenameStep.h"
#include "files/TemporaryName.h"

namespace tesmora {

// One output file while it is being written: a temporary file with a hidden
// name of ours (see TemporaryName.h) in the target's folder, which replaces
// the target only when replaceTarget() is called.
//
// The temporary file is created exclusively and never through a link, so a
// second run writing into the same folder, or a link planted in the folder,
// cannot redirect or mix into it. It is locked (flock) while open: a run
// that finds a temporary file of ours it can lock knows that no live run
// owns it. It is registered for removal on Ctrl-C, SIGTERM and SIGHUP.
//
// Every failure throws OutputFileError naming the target. A pending file
// destroyed before replaceTarget() removes its temporary file and leaves the
// target as it was.
class PendingFile {
 public:
  // `nameBits` picks the random part of each temporary name tried.
  explicit PendingFile(std::filesystem::path target,
                       const std::function<std::uint64_t()>& nameBits = RandomNameBits);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  void write(std::span<const std::uint8_t> bytes);
  void write(std::string_view text);

  // Writes out what is buffered and waits until it is on the disk.
  void finish();

  // Fails with "File is a folder" when a folder has taken the target's name,
  // which a file cannot replace.
  void checkTarget() const;

  // Renames the finished file over the target with `rename`.
  void replaceTarget(const RenameStep& rename = RenameFile);

  // Removes the temporary file; the target is left untouched.
  void discard() noexcept;

  const std::filesystem::path& target() const { return target_; }
  // Empty once the file has replaced its target or been discarded.
  const std::filesystem::path& temporaryPath() const { return temporary_; }

 private:
  void flushBuffer();
  [[noreturn]] void fail(int errnum);
  void close() noexcept;

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int descriptor_ = -1;
  int cleanupSlot_ = -1;
  bool finished_ = false;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace tesmora
