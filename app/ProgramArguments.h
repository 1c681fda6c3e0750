#pragma once

#include <QByteArrayList>
#include <QString>
#include <vector>

#include "app/DroppedFile.h"

namespace tesmora {

// What the window program's command line asks for.
enum class ProgramAction { OpenWindow, Help, Version, UsageError };

struct ProgramArguments {
  ProgramAction action = ProgramAction::OpenWindow;
  // The files to load once the window is up, as a drop would load them: the
  // IFO first, for the palette the subtitles need, then the subtitle file.
  std::vector<DroppedFile> files;
  QString error;  // for a usage error: what is wrong, in one line
};

// Reads the arguments after the program's name, as the bytes the system
// gave them: "--help" or "-h" and "--version" answer whatever else the line
// holds; "--" ends the options; every other argument names a title set's IFO
// or a subtitle file, at most one of each, made absolute from the current
// folder.
ProgramArguments ReadProgramArguments(const QByteArrayList& arguments);

// The text --help prints.
QString ProgramUsageText();

}  // namespace tesmora
