#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tesmora {

// The hidden name an output file is written under before it replaces its
// target: "." + the target's name + ".tesmora-" + six letters or digits, for
// instance ".Generated.sup.tesmora-a8Kq2Z". A target name too long for that
// is shortened so that the whole name stays within 255 bytes.
std::string TemporaryNameFor(std::string_view targetName, std::uint64_t randomBits);

// Fresh random bits for a temporary name.
std::uint64_t RandomNameBits();

// Whether a file name has the form TemporaryNameFor gives.
bool IsTemporaryName(std::string_view name);

// The hidden name an earlier target is kept under while a set of output
// files replaces it: "." + the target's name + ".tesmora-old-" + six letters
// or digits, for instance ".Generated.sup.tesmora-old-a8Kq2Z". A target
// name too long for that is shortened like in TemporaryNameFor.
std::string KeptNameFor(std::string_view targetName, std::uint64_t randomBits);

// The target name a kept name was made for; none when `name` is not of the
// form KeptNameFor gives or its target name may have been shortened.
std::optional<std::string> KeptTargetName(std::string_view name);

// The name of the file in an output folder whose lock a run holds while it
// replaces its targets there (see FolderLocks.h). It is there only as long
// as a run is replacing files, or was killed doing so.
inline constexpr std::string_view kFolderLockName = ".tesmora-lock";

}  // namespace tesmora
