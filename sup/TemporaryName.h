#pragma once

#include <cstdint>
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

}  // namespace tesmora
