#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace tesmora::testing {

// What an outside program (FFmpeg, MKVToolNix, dvdauthor) printed and
// returned; code stays -1 when it did not end normally within the time.
struct ToolResult {
  int code = -1;
  QByteArray out;
  QByteArray err;
};

inline ToolResult RunTool(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  ToolResult result;
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
    return result;
  }
  result.code = process.exitCode();
  result.out = process.readAllStandardOutput();
  result.err = process.readAllStandardError();
  return result;
}

}  // namespace tesmora::testing
