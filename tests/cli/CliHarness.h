#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
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

// A test with a folder of its own for the converter's inputs and outputs.
class ConverterFolderTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir.filePath(name); }
  // The folder as the converter names it in messages, with a final slash.
  std::string folder() const { return QDir(dir.path()).absolutePath().toStdString() + "/"; }
  QString write(const QString& name, const QByteArray& bytes) const {
    WriteBytes(path(name), bytes);
    return path(name);
  }
  QStringList entries() const {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
  }

  QTemporaryDir dir;
};

// A folder test whose runs convert a file written into the folder to the
// stream beside it.
class ConvertingFolderTest : public ConverterFolderTest {
 protected:
  // The stream of a successful run, with the given options, on a file.
  QByteArray convert(const QString& name, const QByteArray& bytes, QStringList options = {}) {
    options << write(name, bytes);
    last = RunConverter(options);
    EXPECT_EQ(last.code, 0) << last.err;
    return ReadBytes(path("Generated.sup"));
  }

  CliOutcome last;  // of the latest convert()
};

}  // namespace tesmora::testing
