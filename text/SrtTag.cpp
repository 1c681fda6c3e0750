#include "text/SrtTag.h"

namespace tesmora {
namespace {

// The flag a style tag switches, 0 for the tags that are only removed; the
// name in any letter case.
std::optional<unsigned> TagStyle(QStringView name) {
  const auto is = [name](QStringView known) {
    return name.compare(known, Qt::CaseInsensitive) == 0;
  };
  if (is(u"i")) {
    return run_style::kItalic;
  }
  if (is(u"b")) {
    return run_style::kBold;
  }
  if (is(u"u")) {
    return run_style::kUnderline;
  }
  if (is(u"s")) {
    return run_style::kStrikeOut;
  }
  for (const char16_t* removed : {u"font", u"c", u"v", u"lang", u"ruby", u"rt", u"span"}) {
    if (is(removed)) {
      return 0u;
    }
  }
  return std::nullopt;
}

bool IsAsciiLetter(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Tab, line feed, vertical tab, form feed, carriage return and space.
bool IsAsciiSpace(QChar c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// The end of the run of ASCII letters from `at`.
qsizetype LettersEnd(const QString& line, qsizetype at) {
  while (at < line.size() && IsAsciiLetter(line[at])) {
    ++at;
  }
  return at;
}

// The length of the tag at `at`, which starts with "<" or "</", or nothing
// when it is not written as a tag. The name is the letters after the "<" or
// "</". An opening tag may add WebVTT classes (".yellow"), then attributes or
// an annotation after white space; a closing tag only white space. The scan
// stops at the first character that cannot belong to the tag, so reading
// every tag of a line takes time in proportion to the line.
std::optional<qsizetype> TagLength(const QString& line, qsizetype at, bool closing,
                                   QStringView& name) {
  const qsizetype nameStart = at + (closing ? 2 : 1);
  qsizetype i = LettersEnd(line, nameStart);
  if (i == nameStart) {
    return std::nullopt;
  }
  name = QStringView(line).sliced(nameStart, i - nameStart);
  if (closing) {
    while (i < line.size() && IsAsciiSpace(line[i])) {
      ++i;
    }
  } else {
    while (i < line.size() && line[i] == u'.') {
      const qsizetype classStart = ++i;
      while (i < line.size() && !IsAsciiSpace(line[i]) && line[i] != u'<' && line[i] != u'>' &&
             line[i] != u'.') {
        ++i;
      }
      if (i == classStart) {
        return std::nullopt;
      }
    }
    if (i < line.size() && IsAsciiSpace(line[i])) {
      while (i < line.size() && line[i] != u'<' && line[i] != u'>') {
        ++i;
      }
    }
  }
  if (i < line.size() && line[i] == u'>') {
    return i + 1 - at;
  }
  return std::nullopt;
}

}  // namespace

std::optional<MarkupToken> ReadSrtTag(const QString& line, qsizetype at) {
  const bool closing = at + 1 < line.size() && line[at + 1] == u'/';
  QStringView name;
  const std::optional<qsizetype> length = TagLength(line, at, closing, name);
  if (!length) {
    return std::nullopt;
  }
  const std::optional<unsigned> style = TagStyle(name);
  if (!style) {
    return std::nullopt;
  }
  MarkupToken token{*length, {}};
  if (*style != 0) {
    token.actions.push_back(closing ? StyleSwitch{*style, 0} : StyleSwitch{0, *style});
  } else if (!closing) {
    token.actions.push_back(Unsupported{line.sliced(at, *length)});
  }
  return token;
}

}  // namespace tesmora
