#include "render/SrtTag.h"

#include <QRegularExpression>

namespace tesmora {
namespace {

// The flag a style tag switches, 0 for the tags that are only removed.
std::optional<unsigned> TagStyle(const QString& lowerName) {
  if (lowerName == u"i") {
    return run_style::kItalic;
  }
  if (lowerName == u"b") {
    return run_style::kBold;
  }
  if (lowerName == u"u") {
    return run_style::kUnderline;
  }
  if (lowerName == u"s") {
    return run_style::kStrikeOut;
  }
  for (const char16_t* removed : {u"font", u"c", u"v", u"lang", u"ruby", u"rt", u"span"}) {
    if (lowerName == removed) {
      return 0u;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<MarkupToken> ReadSrtTag(const QString& line, qsizetype at) {
  // An opening tag: a name, WebVTT classes (".yellow"), then attributes or an
  // annotation after white space. A closing tag: the name alone.
  static const QRegularExpression kOpening(
      QStringLiteral(R"(<([A-Za-z]+)(?:\.[^\s<>.]+)*(?:\s[^<>]*)?>)"));
  static const QRegularExpression kClosing(QStringLiteral(R"(</([A-Za-z]+)\s*>)"));
  const bool closing = at + 1 < line.size() && line[at + 1] == u'/';
  const QRegularExpressionMatch match = (closing ? kClosing : kOpening)
                                            .match(line, at, QRegularExpression::NormalMatch,
                                                   QRegularExpression::AnchorAtOffsetMatchOption);
  if (!match.hasMatch()) {
    return std::nullopt;
  }
  const std::optional<unsigned> style = TagStyle(match.captured(1).toLower());
  if (!style) {
    return std::nullopt;
  }
  MarkupToken token{match.capturedLength(0), {}};
  if (*style != 0) {
    token.actions.push_back(closing ? StyleSwitch{*style, 0} : StyleSwitch{0, *style});
  } else if (!closing) {
    token.actions.push_back(Unsupported{match.captured(0)});
  }
  return token;
}

}  // namespace tesmora
