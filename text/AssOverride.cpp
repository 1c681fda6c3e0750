#include "text/AssOverride.h"

#include <QRegularExpression>

namespace tesmora {
namespace {

// The legacy \a codes: 1-3 bottom, 5-7 top, 9-11 middle, each as left,
// centre, right; as a numeric keypad position, 0 for an unknown code.
int LegacyAlignment(int code) {
  switch (code) {
    case 1:
    case 2:
    case 3:
      return code;
    case 5:
    case 6:
    case 7:
      return code + 2;
    case 9:
    case 10:
    case 11:
      return code - 5;
    default:
      return 0;
  }
}

unsigned StyleFlag(QChar letter) {
  switch (letter.unicode()) {
    case u'i':
      return run_style::kItalic;
    case u'b':
      return run_style::kBold;
    case u'u':
      return run_style::kUnderline;
    default:
      return run_style::kStrikeOut;
  }
}

// The commands of a block's content, each without its backslash. A backslash
// inside parentheses belongs to its command, as in \t(0,500,\fs20).
std::vector<QStringView> SplitCommands(QStringView content) {
  std::vector<QStringView> commands;
  qsizetype start = -1;
  int depth = 0;
  for (qsizetype i = 0; i < content.size(); ++i) {
    const QChar c = content[i];
    if (c == u'(') {
      ++depth;
    } else if (c == u')' && depth > 0) {
      --depth;
    } else if (c == u'\\' && depth == 0) {
      if (start >= 0) {
        commands.push_back(content.sliced(start, i - start).trimmed());
      }
      start = i + 1;
    }
  }
  if (start >= 0) {
    commands.push_back(content.sliced(start).trimmed());
  }
  return commands;
}

}  // namespace

std::vector<MarkupAction> OverrideCommandActions(QStringView command) {
  const auto whole = [](const char* pattern) {
    return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1StringView(pattern)));
  };
  static const QRegularExpression kStyle = whole(R"(([ibus])([01]?))");
  static const QRegularExpression kWeight = whole(R"(b([1-9]00))");
  static const QRegularExpression kAlignment = whole(R"(an([1-9]))");
  static const QRegularExpression kLegacyAlignment = whole(R"(a([0-9]{1,2}))");
  const QString written = u'\\' + command.toString();
  if (const QRegularExpressionMatch match = kStyle.match(command); match.hasMatch()) {
    const unsigned flag = StyleFlag(match.capturedView(1).front());
    return {match.capturedView(2) == u"1" ? StyleSwitch{0, flag} : StyleSwitch{flag, 0}};
  }
  if (const QRegularExpressionMatch match = kWeight.match(command); match.hasMatch()) {
    const bool bold = match.capturedView(1).toInt() >= 600;
    return {bold ? StyleSwitch{0, run_style::kBold} : StyleSwitch{run_style::kBold, 0}};
  }
  if (command.startsWith(u'r')) {
    // A reset to the line's own style, or to a named style, which lies
    // outside this file's text: the flags go back to none.
    return {StyleSwitch{run_style::kAll, 0}};
  }
  if (const QRegularExpressionMatch match = kAlignment.match(command); match.hasMatch()) {
    return {Placement{match.capturedView(1).toInt(), written}};
  }
  if (const QRegularExpressionMatch match = kLegacyAlignment.match(command); match.hasMatch()) {
    if (const int numpad = LegacyAlignment(match.capturedView(1).toInt()); numpad != 0) {
      return {Placement{numpad, written}};
    }
  }
  return {Unsupported{written}};
}

std::optional<MarkupToken> ReadTextEscape(const QString& line, qsizetype at) {
  if (line[at] != u'\\' || at + 1 >= line.size()) {
    return std::nullopt;
  }
  // Only these two: a lower-case \n is text ("C:\new"), as converted files
  // carry paths and the like far more often than that soft break.
  switch (line[at + 1].unicode()) {
    case u'N':
      return MarkupToken{2, {LineBreak{}}};
    case u'h':
      return MarkupToken{2, {InsertText{QString(QChar(0x00A0))}}};
    default:
      return std::nullopt;
  }
}

std::optional<MarkupToken> ReadAssMarkup(const QString& line, qsizetype at) {
  if (line[at] == u'\\') {
    return ReadTextEscape(line, at);
  }
  if (line[at] != u'{') {
    return std::nullopt;
  }
  // A block ends at the first "}" and holds no "{". The scan stops at the
  // next brace either way, so reading every block of a line takes time in
  // proportion to the line.
  qsizetype close = at + 1;
  while (close < line.size() && line[close] != u'}') {
    if (line[close] == u'{') {
      return std::nullopt;
    }
    ++close;
  }
  if (close == line.size()) {
    return std::nullopt;
  }
  const QStringView content = QStringView(line).sliced(at + 1, close - at - 1);
  if (!content.trimmed().startsWith(u'\\')) {
    return std::nullopt;
  }
  MarkupToken token{close - at + 1, {}};
  for (const QStringView command : SplitCommands(content)) {
    if (command.isEmpty()) {
      continue;
    }
    for (MarkupAction& action : OverrideCommandActions(command)) {
      token.actions.push_back(std::move(action));
    }
  }
  return token;
}

}  // namespace tesmora
