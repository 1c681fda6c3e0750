#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tesmora::testing {

// Writes `bytes` as the whole file at `path` and returns the path.
inline QString WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(bytes);
  }
  return path;
}

// The whole file at `path`, or "missing" when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

}  // namespace tesmora::testing
