#include "cli/OutputFiles.h"

#include "cli/CliConsole.h"
#include "files/FileAccess.h"
#include "files/FileNames.h"

namespace tesmora::cli {

QString OutputFolder(const CliOptions& options, const QString& subtitlePath) {
  const QString path = OutputFolderPath(options, subtitlePath);
  if (!IsFolder(path)) {
    const QString named = options.outputDir.isEmpty() ? path : options.outputDir;
    throw CliError(kExitOutput, std::string(kProgramName) + ": cannot write into " +
                                    InlineText(FileNameBytes(named).toStdString()) +
                                    ": there is no folder of that name.");
  }
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QStringList PlannedFiles(const OutputPlan& plan) {
  QStringList paths;
  for (const QString& name : OutputFileNames(plan.formats, plan.stem)) {
    paths << plan.folder + name;
  }
  return paths;
}

}  // namespace tesmora::cli
