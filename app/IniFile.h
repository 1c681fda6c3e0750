#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace tesmora {

// A Windows-style INI file held in memory as the bytes it was read from:
// "[Section]" headers and "Key=Value" lines. Values are bytes, kept exactly as
// written (no quoting, no escaping, no decoding); section and key names match
// regardless of ASCII case. Every line the program does not change, other
// sections and keys, comments and line endings included, is written back
// byte for byte, so text in any encoding survives.
class IniFile {
 public:
  static IniFile Parse(const QByteArray& content);

  std::optional<QByteArray> value(const QString& section, const QString& key) const;
  // A value equal to the one the file holds leaves its line as it is; a
  // changed one keeps the line's key spelling and ending. New lines end as
  // the file's first line does (CR LF in a new file).
  void setValue(const QString& section, const QString& key, const QByteArray& value);
  // Takes the key's line out of the file, if it holds one.
  void remove(const QString& section, const QString& key);

  QByteArray text() const;

 private:
  struct Line {
    QByteArray content;
    QByteArray ending;  // "\r\n", "\n", "\r", or empty for a last line without one
  };

  // Index of the section's header line, or -1.
  qsizetype findSection(const QByteArray& section) const;
  // Index of the key's line within the section starting after `header`, or -1.
  qsizetype findKey(qsizetype header, const QByteArray& key) const;
  qsizetype sectionEnd(qsizetype header) const;
  void insertLine(qsizetype at, const QByteArray& content);

  QList<Line> lines_;
  QByteArray newLineEnding_ = "\r\n";
};

}  // namespace tesmora
