#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

#include "files/TemporaryName.h"

namespace tesmora {

// The earlier file at a target, kept under a hidden name beside it (see
// KeptNameFor) while a set of output files replaces its targets, so that a
// set that fails half-way can put every target back.
struct KeptFile {
  enum class Way {
    kNothing,  // there was no file at the target
    kLinked,   // the kept name is a second link to the file still at the target
    kAside,    // the file was renamed to the kept name; the target name is free
  };
  std::filesystem::path target;
  std::filesystem::path kept;
  Way way = Way::kNothing;
};

// Keeps the file now at `target`. A second link keeps the target in place;
// where a link is refused (a file system without links, another user's
// file) or would not tell whether the file may be replaced (another user's
// file in a sticky folder), the file itself is renamed aside, which the
// system allows exactly when it allows replacing it. So a target that
// cannot be replaced (an immutable file, another user's file in a sticky
// folder) fails here, before any target has changed. Throws
// OutputFileError naming the target.
KeptFile KeepFile(const std::filesystem::path& target,
                  const std::function<std::uint64_t()>& nameBits = RandomNameBits);

// Puts the kept file back at its target. `replaced` tells whether a new
// file has already been renamed over the target; with nothing kept that
// new file is removed. A kept file that cannot be put back stays under its
// hidden name, where the next run's clean-up leaves it (see
// StaleTemporaries.h). Returns whether the target is as it was.
bool PutBack(const KeptFile& file, bool replaced) noexcept;

// Removes the kept name once the whole set is in place.
void Drop(const KeptFile& file) noexcept;

}  // namespace tesmora
