#include "hdrender/FontColours.h"

#include <QColor>
#include <QRegularExpression>
#include <algorithm>

namespace tesmora {

namespace {

// "<font ...>" with its attributes, and "</font>"; any letter case.
const QRegularExpression& FontTag() {
  static const QRegularExpression tag(QStringLiteral("<(/?)font(\\s[^<>]*)?\\s*>"),
                                      QRegularExpression::CaseInsensitiveOption);
  return tag;
}

// The colour of a tag's attributes: color="#ff0000", color=red, color='#f00'.
std::optional<Rgb> TagColour(const QString& attributes) {
  static const QRegularExpression colour(
      QStringLiteral("color\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"']+))"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = colour.match(attributes);
  if (!match.hasMatch()) {
    return std::nullopt;
  }
  QString value = match.captured(1) + match.captured(2) + match.captured(3);
  value = value.trimmed();
  // Some files leave out the "#" of a hexadecimal colour.
  static const QRegularExpression bareHex(QStringLiteral("^[0-9a-fA-F]{6}$"));
  if (bareHex.match(value).hasMatch()) {
    value.prepend(u'#');
  }
  const QColor parsed = QColor::fromString(value);
  if (!parsed.isValid()) {
    return std::nullopt;
  }
  return Rgb{static_cast<std::uint8_t>(parsed.red()), static_cast<std::uint8_t>(parsed.green()),
             static_cast<std::uint8_t>(parsed.blue())};
}

bool OnlyMarksAndBlanks(const QString& line) {
  return std::all_of(line.begin(), line.end(),
                     [](QChar c) { return IsFontMark(c) || c.isSpace(); });
}

QString MarksOf(const QString& line) {
  QString marks;
  for (const QChar c : line) {
    if (IsFontMark(c)) {
      marks += c;
    }
  }
  return marks;
}

}  // namespace

MarkedColours MarkFontColours(const QStringList& lines) {
  MarkedColours marked;
  for (const QString& line : lines) {
    if (std::any_of(line.begin(), line.end(), IsFontMark)) {
      return {lines, {}, false};
    }
  }
  QStringList withMarks;
  for (const QString& line : lines) {
    QString out;
    qsizetype from = 0;
    QRegularExpressionMatchIterator tags = FontTag().globalMatch(line);
    while (tags.hasNext()) {
      const QRegularExpressionMatch tag = tags.next();
      const bool closing = !tag.captured(1).isEmpty();
      if (!closing && marked.colours.size() >= static_cast<std::size_t>(kMostFontTags)) {
        continue;
      }
      out += QStringView(line).sliced(from, tag.capturedStart() - from);
      if (closing) {
        out += QChar(kFontCloseMark);
      } else {
        out += QChar(FontOpenMark(static_cast<int>(marked.colours.size())));
        marked.colours.push_back(TagColour(tag.captured(2)));
      }
      from = tag.capturedEnd();
    }
    out += QStringView(line).sliced(from);
    withMarks.append(out);
  }
  // Lines of nothing but marks hand them on, so that they add no line.
  QString carried;
  for (qsizetype i = 0; i < withMarks.size(); ++i) {
    const QString line = carried + withMarks[i];
    carried.clear();
    if (!MarksOf(line).isEmpty() && OnlyMarksAndBlanks(line)) {
      if (i + 1 < withMarks.size()) {
        carried = MarksOf(line);
      } else if (!marked.lines.isEmpty()) {
        marked.lines.back() += MarksOf(line);
      }
      continue;
    }
    marked.lines.append(line);
  }
  return marked;
}

}  // namespace tesmora
