#pragma once

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"

namespace tesmora::cli {

// --check: reads each PGS stream of `options.subtitlePaths` and lists the
// breaches of the format and of the decoder model on the output stream, one
// line each, then a summary line per file. Returns 0 when every file checks
// clean, 1 when any breach was found and 2 when a file cannot be read.
int CheckStreams(const CliOptions& options, const Console& console);

}  // namespace tesmora::cli
