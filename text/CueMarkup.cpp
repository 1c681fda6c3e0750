#include "text/CueMarkup.h"

#include <optional>
#include <utility>

#include "text/AssOverride.h"
#include "text/MarkupToken.h"
#include "text/MicroDvdCode.h"
#include "text/SrtTag.h"
#include "text/VttEntity.h"

namespace tesmora {
namespace {

TextRun StyledRun(QString text, unsigned flags) {
  return TextRun{std::move(text), (flags & run_style::kBold) != 0,
                 (flags & run_style::kItalic) != 0, (flags & run_style::kUnderline) != 0,
                 (flags & run_style::kStrikeOut) != 0};
}

std::optional<MarkupToken> ReadToken(const QString& line, qsizetype at, MarkupDialect dialect) {
  const QChar c = line[at];
  if (c == u'<') {
    return ReadSrtTag(line, at);
  }
  if (dialect == MarkupDialect::WebVtt && c == u'&') {
    return ReadVttEntity(line, at);
  }
  if (dialect == MarkupDialect::Srt && (c == u'{' || c == u'\\')) {
    return ReadAssMarkup(line, at);
  }
  if (dialect == MarkupDialect::MicroDvd && c == u'{') {
    return ReadMicroDvdCode(line, at);
  }
  if (dialect == MarkupDialect::MicroDvd && c == u'\\') {
    return ReadTextEscape(line, at);
  }
  return std::nullopt;
}

struct FoundToken {
  qsizetype at = 0;
  MarkupToken token;
};

// The first markup of a line from `from` on.
std::optional<FoundToken> NextToken(const QString& line, qsizetype from, MarkupDialect dialect) {
  for (qsizetype at = from; at < line.size(); ++at) {
    if (std::optional<MarkupToken> token = ReadToken(line, at, dialect)) {
      return FoundToken{at, std::move(*token)};
    }
  }
  return std::nullopt;
}

// The codes and the "/" a MicroDVD line starts with.
struct LineStart {
  qsizetype length = 0;
  unsigned lineStyle = 0;
  unsigned cueStyle = 0;
  QStringList removed;
};

LineStart ReadMicroDvdLineStart(const QString& line) {
  LineStart start;
  bool slash = false;
  while (start.length < line.size()) {
    if (!slash && line[start.length] == u'/') {
      slash = true;
      start.lineStyle |= run_style::kItalic;
      ++start.length;
      continue;
    }
    const std::optional<MarkupToken> token = ReadMicroDvdCode(line, start.length);
    if (!token) {
      break;
    }
    for (const MarkupAction& action : token->actions) {
      if (const auto* base = std::get_if<BaseStyle>(&action)) {
        (base->wholeCue ? start.cueStyle : start.lineStyle) |= base->on;
      } else if (const auto* unsupported = std::get_if<Unsupported>(&action)) {
        start.removed.append(unsupported->written);
      }
    }
    start.length += token->length;
  }
  return start;
}

bool OnlyBlanks(const QString& text) {
  for (const QChar c : text) {
    if (c != u' ' && c != u'\t') {
      return false;
    }
  }
  return true;
}

// Collects the lines of a cue while its markup is applied.
class CueBuilder {
 public:
  void startSourceLine(unsigned base, bool hadMarkup) {
    base_ = base;
    hadMarkup_ = hadMarkup;
  }

  unsigned flags() const { return base_ | state_; }

  void appendText(QString text) { AppendRun(line_, StyledRun(std::move(text), flags())); }

  // A source line without markup, kept as it is.
  void addPlainLine(const QString& text) {
    cue_.lines.push_back(StyledLine{{StyledRun(text, flags())}});
  }

  // Markup that takes no room and does nothing, such as a closing tag.
  void noteMarkup() { hadMarkup_ = true; }

  // A break ends the line before it without making that line count as
  // markup, so "\Nx" draws an empty line above "x".
  void apply(const MarkupAction& action, const QString& written) {
    if (std::holds_alternative<LineBreak>(action)) {
      endLine();
      hadMarkup_ = false;
      return;
    }
    hadMarkup_ = true;
    if (const auto* change = std::get_if<StyleSwitch>(&action)) {
      state_ = (state_ & ~change->off) | change->on;
    } else if (const auto* placement = std::get_if<Placement>(&action)) {
      if (cue_.alignment == 0) {
        cue_.alignment = placement->numpad;
      } else {
        cue_.removedMarkup.append(placement->written);
      }
    } else if (const auto* insert = std::get_if<InsertText>(&action)) {
      appendText(insert->text);
    } else if (const auto* unsupported = std::get_if<Unsupported>(&action)) {
      cue_.removedMarkup.append(unsupported->written);
    } else {
      // Line and cue styles count at the start of a line only.
      cue_.removedMarkup.append(written);
    }
  }

  void noteRemoved(const QStringList& removed) { cue_.removedMarkup.append(removed); }

  void endLine() {
    if (!(hadMarkup_ && OnlyBlanks(line_.plainText()))) {
      if (line_.runs.empty()) {
        line_.runs.push_back(StyledRun(QString(), flags()));
      }
      cue_.lines.push_back(std::move(line_));
    }
    line_ = StyledLine();
  }

  CueText take() { return std::move(cue_); }

 private:
  CueText cue_;
  StyledLine line_;
  unsigned base_ = 0;
  unsigned state_ = 0;
  bool hadMarkup_ = false;
};

}  // namespace

CueText ParseCueMarkup(const QStringList& lines, MarkupDialect dialect) {
  if (dialect == MarkupDialect::Literal) {
    CueText cue;
    for (const QString& line : lines) {
      cue.lines.push_back(StyledLine{{TextRun{line}}});
    }
    return cue;
  }
  std::vector<LineStart> starts(lines.size());
  unsigned cueStyle = 0;
  if (dialect == MarkupDialect::MicroDvd) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
      starts[i] = ReadMicroDvdLineStart(lines[i]);
      cueStyle |= starts[i].cueStyle;
    }
  }
  CueBuilder builder;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    const LineStart& start = starts[i];
    builder.noteRemoved(start.removed);
    builder.startSourceLine(cueStyle | start.lineStyle, start.length > 0);
    // Each piece of markup is applied as it is found, so that a line of
    // nothing but markup needs no list of it.
    std::optional<FoundToken> next = NextToken(line, start.length, dialect);
    if (start.length == 0 && !next) {
      builder.addPlainLine(line);
      continue;
    }
    qsizetype at = start.length;
    for (; next; next = NextToken(line, at, dialect)) {
      const FoundToken& found = *next;
      if (found.at > at) {
        builder.appendText(line.sliced(at, found.at - at));
      }
      const QString written = line.sliced(found.at, found.token.length);
      if (found.token.actions.empty()) {
        builder.noteMarkup();
      }
      for (const MarkupAction& action : found.token.actions) {
        builder.apply(action, written);
      }
      at = found.at + found.token.length;
    }
    if (at < line.size()) {
      builder.appendText(line.sliced(at));
    }
    builder.endLine();
  }
  return builder.take();
}

}  // namespace tesmora
