#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace tesmora {

// A Windows-style INI file held in memory: "[Section]" headers and
// "Key=Value" lines. Values are kept exactly as written (no quoting, no
// escaping); section and key names match regardless of case. Lines it does
// not change, other sections and keys included, are written back as they
// were.
class IniFile {
 public:
  static IniFile Parse(const QByteArray& content);

  std::optional<QString> value(const QString& section, const QString& key) const;
  void setValue(const QString& section, const QString& key, const QString& value);

  // The file's text, lines ending in CR LF.
  QByteArray text() const;

 private:
  // Index of the section's header line, or -1.
  qsizetype findSection(const QString& section) const;
  // Index of the key's line within the section starting after `header`, or -1.
  qsizetype findKey(qsizetype header, const QString& key) const;
  qsizetype sectionEnd(qsizetype header) const;

  QStringList lines_;
};

}  // namespace tesmora
