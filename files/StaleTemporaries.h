#pragma once

#include <filesystem>

namespace tesmora {

// Removes the temporary files of ours in `folder` (see TemporaryName.h)
// that no live run holds: a run killed outright (SIGKILL, a power loss)
// leaves its temporary file behind, and a live run keeps its own locked.
// A temporary folder of ours (see StagingFolder.h) that no live run holds
// is removed with the files in it, when it is open to its owner alone and
// holds plain files only, as ours do; any other folder is left whole. Returns how many were
// removed; a folder that cannot be read gives 0.
int RemoveStaleTemporaries(const std::filesystem::path& folder);

// Settles the earlier targets (see KeptFile.h) that a run killed while it
// replaced its targets left in `folder`. Only to be called while holding
// the folder's lock (see FolderLocks.h): no live run then has files kept.
// - A kept name that is a second link to the file still at its target is
//   removed: the target never changed.
// - A kept file whose target name is free is renamed back to it: the run
//   died after moving it aside, and it is the only copy of the user's file.
// - A kept file whose target now holds another file is left in place: it
//   is the only copy of the file the killed run replaced, and whether the
//   user wants it back or the new one cannot be told. It keeps its hidden
//   name (".<name>.tesmora-old-" and six letters), which says what it is.
// Returns how many kept files were settled.
int SettleKeptFiles(const std::filesystem::path& folder);

}  // namespace tesmora
