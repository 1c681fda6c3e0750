#include "app/IniFile.h"

namespace tesmora {
namespace {

bool IsHeader(const QString& line) {
  const QString trimmed = line.trimmed();
  return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

QString HeaderName(const QString& line) {
  const QString trimmed = line.trimmed();
  return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

}  // namespace

IniFile IniFile::Parse(const QByteArray& content) {
  IniFile file;
  QString text = QString::fromUtf8(content);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  file.lines_ = text.split(QLatin1Char('\n'));
  if (!file.lines_.isEmpty() && file.lines_.last().isEmpty()) {
    file.lines_.removeLast();
  }
  return file;
}

qsizetype IniFile::findSection(const QString& section) const {
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    if (IsHeader(lines_[i]) && HeaderName(lines_[i]).compare(section, Qt::CaseInsensitive) == 0) {
      return i;
    }
  }
  return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const {
  qsizetype end = header + 1;
  while (end < lines_.size() && !IsHeader(lines_[end])) {
    ++end;
  }
  return end;
}

qsizetype IniFile::findKey(qsizetype header, const QString& key) const {
  const qsizetype end = sectionEnd(header);
  for (qsizetype i = header + 1; i < end; ++i) {
    const qsizetype equals = lines_[i].indexOf(QLatin1Char('='));
    if (equals > 0 && lines_[i].left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
      return i;
    }
  }
  return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
  const qsizetype header = findSection(section);
  if (header < 0) {
    return std::nullopt;
  }
  const qsizetype line = findKey(header, key);
  if (line < 0) {
    return std::nullopt;
  }
  return lines_[line].mid(lines_[line].indexOf(QLatin1Char('=')) + 1);
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
  const QString line = key + QLatin1Char('=') + value;
  qsizetype header = findSection(section);
  if (header < 0) {
    if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty()) {
      lines_ << QString();
    }
    lines_ << QLatin1Char('[') + section + QLatin1Char(']');
    header = lines_.size() - 1;
  }
  const qsizetype existing = findKey(header, key);
  if (existing >= 0) {
    lines_[existing] = line;
    return;
  }
  // After the section's last non-empty line.
  qsizetype at = sectionEnd(header);
  while (at > header + 1 && lines_[at - 1].trimmed().isEmpty()) {
    --at;
  }
  lines_.insert(at, line);
}

QByteArray IniFile::text() const {
  QByteArray text;
  for (const QString& line : lines_) {
    text += line.toUtf8() + "\r\n";
  }
  return text;
}

}  // namespace tesmora
