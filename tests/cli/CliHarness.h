#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <sstream>
#include <string>

#include "cli/CliRun.h"

namespace tesmora::testing {

// What one in-process run of the converter printed and returned.
struct CliOutcome {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs the converter on `arguments` (without the program name), with an
// error stream that is no terminal.
inline CliOutcome RunConverter(const QStringList& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  const cli::Console console{out, err, false};
  CliOutcome outcome;
  outcome.code = cli::RunCli(arguments, console);
  outcome.out = out.str();
  outcome.err = err.str();
  return outcome;
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(bytes);
  }
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tesmora::testing
