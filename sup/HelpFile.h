#pragma once

#include <string>
#include <vector>

namespace tesmora {

// How the palette of a run came about, which decides what the user must do
// in Ifoedit afterwards.
enum class HelpCase { NoIfo, MonocromaticIfo, WithIfo };

inline constexpr const char* kStreamFileName = "Generated.sup";
inline constexpr const char* kHelpFileName = "Tesmora_Help_File.txt";

// The help file's lines for a case; `folder` ends with a path separator.
std::vector<std::string> HelpFileLines(HelpCase helpCase, const std::string& folder);

// The closing message of a case: the help text up to its last instruction,
// an empty line, "Generated Files:" and the two paths, lines separated by a
// single CR.
std::string HelpMessage(HelpCase helpCase, const std::string& folder);

// The help file's bytes: the lines, each ending in CR LF.
std::string HelpFileText(const std::vector<std::string>& lines);

}  // namespace tesmora
