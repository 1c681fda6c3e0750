#pragma once

#include <string>
#include <vector>

namespace tesmora {

// How the palette of a run came about, which decides what the user must do
// in Ifoedit afterwards.
enum class HelpCase { NoIfo, MonocromaticIfo, WithIfo };

inline constexpr const char* kStreamFileName = "Generated.sup";
inline constexpr const char* kHelpFileName = "Tesmora_Help_File.txt";

// The last instruction of every case: where the route without Ifoedit is
// described.
inline constexpr const char* kFreeToolsLine =
    "To author the dvd with free tools instead (tesmora-cli, FFmpeg and dvdauthor), see "
    "\"Making a DVD with free tools\" in Tesmora's README.";

// The help file's lines for a case: its instructions, two empty lines,
// "Generated Files:" and one line for each path in `generatedFiles`.
std::vector<std::string> HelpFileLinesListing(HelpCase helpCase,
                                              const std::vector<std::string>& generatedFiles);

// The help file's lines of a run that wrote folder + kStreamFileName and
// folder + kHelpFileName; `folder` ends with a path separator.
std::vector<std::string> HelpFileLines(HelpCase helpCase, const std::string& folder);

// The closing message of a case: the help text up to its last instruction,
// an empty line, "Generated Files:" and the paths, lines separated by a
// single CR.
std::string HelpMessageListing(HelpCase helpCase, const std::vector<std::string>& generatedFiles);

// The closing message of a run that wrote the stream and the help file
// into `folder`.
std::string HelpMessage(HelpCase helpCase, const std::string& folder);

// The help file's bytes: the lines, each ending in CR LF.
std::string HelpFileText(const std::vector<std::string>& lines);

}  // namespace tesmora
