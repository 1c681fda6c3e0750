#include "text/MicroDvdCode.h"

namespace tesmora {
namespace {

// The flags of a {y:...} value, or nothing when it holds an unknown letter.
std::optional<unsigned> StyleLetters(QStringView value) {
  unsigned flags = 0;
  for (const QChar c : value) {
    switch (c.toLower().unicode()) {
      case u'i':
        flags |= run_style::kItalic;
        break;
      case u'b':
        flags |= run_style::kBold;
        break;
      case u'u':
        flags |= run_style::kUnderline;
        break;
      case u's':
        flags |= run_style::kStrikeOut;
        break;
      case u',':
      case u' ':
        break;
      default:
        return std::nullopt;
    }
  }
  return flags;
}

// The length of the code at `at`: "{", a kind letter, ":", a value without
// braces and "}"; nothing when the line holds none there. The scan stops at
// the next brace, so reading every code of a line takes time in proportion
// to the line.
std::optional<qsizetype> CodeLength(const QString& line, qsizetype at) {
  static constexpr QStringView kKinds = u"yYcCfFsSpPhH";
  if (at + 3 >= line.size() || line[at] != u'{' || !kKinds.contains(line[at + 1]) ||
      line[at + 2] != u':') {
    return std::nullopt;
  }
  for (qsizetype i = at + 3; i < line.size(); ++i) {
    if (line[i] == u'}') {
      return i + 1 - at;
    }
    if (line[i] == u'{') {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<MarkupToken> ReadMicroDvdCode(const QString& line, qsizetype at) {
  const std::optional<qsizetype> length = CodeLength(line, at);
  if (!length) {
    return std::nullopt;
  }
  MarkupToken token{*length, {}};
  const QChar kind = line[at + 1];
  const QStringView value = QStringView(line).sliced(at + 3, *length - 4);
  const std::optional<unsigned> style = kind.toLower() == u'y' ? StyleLetters(value) : std::nullopt;
  if (style) {
    token.actions.push_back(BaseStyle{*style, kind == u'Y'});
  } else {
    token.actions.push_back(Unsupported{line.sliced(at, *length)});
  }
  return token;
}

}  // namespace tesmora
