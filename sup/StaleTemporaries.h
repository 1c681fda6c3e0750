#pragma once

#include <filesystem>

namespace tesmora {

// Removes the temporary files of ours in `folder` (see TemporaryName.h)
// that no live run holds: a run killed outright (SIGKILL, a power loss)
// leaves its temporary file behind, and a live run keeps its own locked.
// Returns how many files were removed; a folder that cannot be read gives 0.
int RemoveStaleTemporaries(const std::filesystem::path& folder);

}  // namespace tesmora
