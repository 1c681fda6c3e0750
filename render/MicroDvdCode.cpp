#include "render/MicroDvdCode.h"

#include <QRegularExpression>

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

}  // namespace

std::optional<MarkupToken> ReadMicroDvdCode(const QString& line, qsizetype at) {
  static const QRegularExpression kCode(QStringLiteral(R"(\{([yYcCfFsSpPhH]):([^{}]*)\})"));
  const QRegularExpressionMatch match = kCode.match(line, at, QRegularExpression::NormalMatch,
                                                    QRegularExpression::AnchorAtOffsetMatchOption);
  if (!match.hasMatch()) {
    return std::nullopt;
  }
  MarkupToken token{match.capturedLength(0), {}};
  const QChar kind = match.capturedView(1).front();
  const std::optional<unsigned> style =
      kind.toLower() == u'y' ? StyleLetters(match.capturedView(2)) : std::nullopt;
  if (style) {
    token.actions.push_back(BaseStyle{*style, kind == u'Y'});
  } else {
    token.actions.push_back(Unsupported{match.captured(0)});
  }
  return token;
}

}  // namespace tesmora
