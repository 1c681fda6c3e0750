#pragma once

#include <QStringList>

#include "cli/CliConsole.h"

namespace tesmora::cli {

// Runs one command line (the arguments after the program name) and returns
// the exit status: --help, --version, the palette listing, or the
// conversion of each subtitle file into the chosen formats and
// Tesmora_Help_File.txt. Needs a QGuiApplication, for the fonts.
int RunCli(const QStringList& arguments, const Console& console);

}  // namespace tesmora::cli
