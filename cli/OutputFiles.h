#pragma once

#include <QString>
#include <QStringList>

#include "cli/CliOptions.h"
#include "output/FormatFiles.h"

namespace tesmora::cli {

// What one conversion writes: into which folder, under which name, in which
// formats, and what the VobSub index says of the track.
struct OutputPlan {
  QString folder;  // absolute, ending in "/"
  QString stem;
  OutputFormats formats;
  QString language = QStringLiteral("en");
  bool forced = false;
};

// The folder the files of `subtitlePath` go to, absolute and ending in "/",
// as the help texts name it: --output-dir, or else the subtitle file's
// folder. Throws CliError (kExitOutput) when it is no existing folder.
QString OutputFolder(const CliOptions& options, const QString& subtitlePath);

// The full paths of the files the plan writes besides the help file.
QStringList PlannedFiles(const OutputPlan& plan);

}  // namespace tesmora::cli
