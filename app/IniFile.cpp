#include "app/IniFile.h"

namespace tesmora {
namespace {

bool IsHeader(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  return trimmed.startsWith('[') && trimmed.endsWith(']');
}

QByteArray HeaderName(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool SameName(const QByteArray& a, const QByteArray& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniFile IniFile::Parse(const QByteArray& content) {
  IniFile file;
  qsizetype start = 0;
  for (qsizetype at = 0; at < content.size(); ++at) {
    if (content[at] != '\r' && content[at] != '\n') {
      continue;
    }
    const qsizetype endingSize = content[at] == '\r' && content.mid(at + 1, 1) == "\n" ? 2 : 1;
    file.lines_.append({content.mid(start, at - start), content.mid(at, endingSize)});
    at += endingSize - 1;
    start = at + 1;
  }
  if (start < content.size()) {
    file.lines_.append({content.mid(start), QByteArray()});
  }
  if (!file.lines_.isEmpty() && !file.lines_.first().ending.isEmpty()) {
    file.newLineEnding_ = file.lines_.first().ending;
  }
  return file;
}

qsizetype IniFile::findSection(const QByteArray& section) const {
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    if (IsHeader(lines_[i].content) && SameName(HeaderName(lines_[i].content), section)) {
      return i;
    }
  }
  return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const {
  qsizetype end = header + 1;
  while (end < lines_.size() && !IsHeader(lines_[end].content)) {
    ++end;
  }
  return end;
}

qsizetype IniFile::findKey(qsizetype header, const QByteArray& key) const {
  const qsizetype end = sectionEnd(header);
  for (qsizetype i = header + 1; i < end; ++i) {
    const QByteArray& line = lines_[i].content;
    const qsizetype equals = line.indexOf('=');
    if (equals > 0 && SameName(line.left(equals).trimmed(), key)) {
      return i;
    }
  }
  return -1;
}

std::optional<QByteArray> IniFile::value(const QString& section, const QString& key) const {
  const qsizetype header = findSection(section.toUtf8());
  if (header < 0) {
    return std::nullopt;
  }
  const qsizetype line = findKey(header, key.toUtf8());
  if (line < 0) {
    return std::nullopt;
  }
  const QByteArray& content = lines_[line].content;
  return content.mid(content.indexOf('=') + 1);
}

void IniFile::insertLine(qsizetype at, const QByteArray& content) {
  if (at > 0 && lines_[at - 1].ending.isEmpty()) {
    lines_[at - 1].ending = newLineEnding_;
  }
  lines_.insert(at, {content, newLineEnding_});
}

void IniFile::setValue(const QString& section, const QString& key, const QByteArray& value) {
  const QByteArray sectionName = section.toUtf8();
  const QByteArray keyName = key.toUtf8();
  qsizetype header = findSection(sectionName);
  if (header < 0) {
    if (!lines_.isEmpty() && !lines_.last().content.trimmed().isEmpty()) {
      insertLine(lines_.size(), QByteArray());
    }
    insertLine(lines_.size(), '[' + sectionName + ']');
    header = lines_.size() - 1;
  }
  const qsizetype existing = findKey(header, keyName);
  if (existing >= 0) {
    QByteArray& content = lines_[existing].content;
    const qsizetype equals = content.indexOf('=');
    if (content.mid(equals + 1) != value) {
      content = content.left(equals + 1) + value;
    }
    return;
  }
  // After the section's last non-empty line.
  qsizetype at = sectionEnd(header);
  while (at > header + 1 && lines_[at - 1].content.trimmed().isEmpty()) {
    --at;
  }
  insertLine(at, keyName + '=' + value);
}

void IniFile::remove(const QString& section, const QString& key) {
  const qsizetype header = findSection(section.toUtf8());
  const qsizetype line = header < 0 ? -1 : findKey(header, key.toUtf8());
  if (line >= 0) {
    lines_.removeAt(line);
  }
}

QByteArray IniFile::text() const {
  QByteArray text;
  for (const Line& line : lines_) {
    text += line.content + line.ending;
  }
  return text;
}

}  // namespace tesmora
