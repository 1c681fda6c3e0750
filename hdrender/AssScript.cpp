#include "hdrender/AssScript.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "hdrender/AssLiteralText.h"
#include "hdrender/FontColours.h"

namespace tesmora {

namespace {

// The flags a run is drawn with: the style's own, and what its markup adds.
struct RunFlags {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  friend bool operator==(const RunFlags&, const RunFlags&) = default;
};

RunFlags FlagsOf(const TextRun& run, const HdStyle& style) {
  return {run.bold || style.bold, run.italic || style.italic, run.underline || style.underline,
          run.strikeOut || style.strikeOut};
}

// The override block that switches from `was` to `now`; empty when they agree.
QString SwitchBlock(const RunFlags& was, const RunFlags& now) {
  QString block;
  const auto add = [&block](bool before, bool after, QStringView tag) {
    if (before != after) {
      block += u'\\';
      block += tag;
      block += after ? u'1' : u'0';
    }
  };
  add(was.bold, now.bold, u"b");
  add(was.italic, now.italic, u"i");
  add(was.underline, now.underline, u"u");
  add(was.strikeOut, now.strikeOut, u"s");
  return block.isEmpty() ? block : u'{' + block + u'}';
}

// A number as ASS reads it: no more decimals than needed, a point always.
std::string AssNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// A font name as one field of a style line: commas would split it.
std::string StyleField(const QString& text) {
  QString field = text;
  field.replace(u',', u' ');
  field.replace(u'\n', u' ');
  field.replace(u'\r', u' ');
  return field.toStdString();
}

// The colours of nested <font> tags: each opening tag's colour (or the one
// around it, when it names none) until its closing tag.
class ColourStack {
 public:
  // `marked` false: the text holds no marks, only characters.
  ColourStack(std::vector<std::optional<Rgb>> colours, bool marked)
      : colours_(std::move(colours)), marked_(marked) {}

  // The run text with its marks turned into colour overrides and the rest
  // drawn literally.
  QString write(const QString& text) {
    if (!marked_) {
      return AssLiteralText(text);
    }
    QString out;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
      if (i < text.size() && !IsFontMark(text[i])) {
        continue;
      }
      out += AssLiteralText(text.sliced(from, i - from));
      from = i + 1;
      if (i == text.size()) {
        break;
      }
      const std::optional<Rgb> before = top();
      if (text[i] == QChar(kFontCloseMark)) {
        if (!open_.empty()) {
          open_.pop_back();
        }
      } else {
        const std::size_t index = text[i].unicode() - kFirstFontOpenMark;
        const std::optional<Rgb> colour =
            index < colours_.size() && colours_[index] ? colours_[index] : before;
        open_.push_back(colour);
      }
      const std::optional<Rgb> after = top();
      if (after != before) {
        // \c takes &HBBGGRR&; \c alone goes back to the style's colour.
        out += after ? QStringLiteral("{\\c&H%1&}")
                           .arg(QString::fromStdString(AssColour(*after).substr(4)))
                     : QStringLiteral("{\\c}");
      }
    }
    return out;
  }

 private:
  std::optional<Rgb> top() const { return open_.empty() ? std::nullopt : open_.back(); }

  std::vector<std::optional<Rgb>> colours_;
  std::vector<std::optional<Rgb>> open_;
  bool marked_ = true;
};

}  // namespace

double ScaledToTarget(double pixelsAt576, const HdTarget& target) {
  return pixelsAt576 * target.height / 576.0;
}

double AssFontSize(const HdStyle& style, const HdTarget& target) {
  return ScaledToTarget(style.points * 96.0 / 72.0, target);
}

std::string AssColour(Rgb colour) {
  char text[16];
  std::snprintf(text, sizeof text, "&H00%02X%02X%02X", colour.b, colour.g, colour.r);
  return text;
}

std::string AssTime(long long ms) {
  const long long cs = ms <= 0 ? 0 : (ms + 5) / 10;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", cs / 360000, cs / 6000 % 60,
                cs / 100 % 60, cs % 100);
  return text;
}

std::string AssEventText(const QStringList& lines, MarkupDialect dialect, const HdStyle& style) {
  const MarkedColours marked =
      dialect == MarkupDialect::Literal ? MarkedColours{lines, {}, false} : MarkFontColours(lines);
  ColourStack colours(marked.colours, marked.marked);
  const CueText cue = ParseCueMarkup(marked.lines, dialect);
  QString text;
  if (cue.alignment != 0) {
    text += QStringLiteral("{\\an%1}").arg(cue.alignment);
  }
  const RunFlags base = FlagsOf(TextRun{}, style);
  RunFlags current = base;
  for (std::size_t i = 0; i < cue.lines.size(); ++i) {
    if (i > 0) {
      text += QStringLiteral("\\N");
    }
    for (const TextRun& run : cue.lines[i].runs) {
      if (run.text.isEmpty()) {
        continue;
      }
      const RunFlags flags = FlagsOf(run, style);
      text += SwitchBlock(current, flags);
      current = flags;
      text += colours.write(run.text);
    }
  }
  return text.toStdString();
}

AssPlacement PlacedEvent(const CuePlacement& placement, int cueAlignment, const HdStyle& style,
                         const HdTarget& target) {
  const double width = target.width;
  const double height = target.height;
  int alignment = placement.alignment != 0 ? placement.alignment
                  : cueAlignment != 0      ? cueAlignment
                                           : style.alignment;
  if (alignment < 1 || alignment > 9) {
    alignment = 2;
  }
  const int column = (alignment - 1) % 3;  // 0 left, 1 centre, 2 right
  int row = (alignment - 1) / 3;           // 0 bottom, 1 middle, 2 top
  const double left = placement.marginLeft ? *placement.marginLeft * width
                                           : ScaledToTarget(style.marginSides, target);
  const double right = placement.marginRight ? *placement.marginRight * width
                                             : ScaledToTarget(style.marginSides, target);
  const double vertical = placement.marginVertical ? *placement.marginVertical * height
                                                   : ScaledToTarget(style.marginVertical, target);
  const double x = placement.x   ? *placement.x * width
                   : column == 0 ? left
                   : column == 1 ? (left + width - right) / 2
                                 : width - right;
  // An event's margin is a whole number of pixels within the frame; a
  // placement far off the frame must not overflow it.
  const auto margin = [width](double pixels) {
    return pixels >= 0 ? static_cast<int>(std::lround(std::min(pixels, width))) : 0;
  };
  AssPlacement event;
  if (placement.width) {
    const double box = *placement.width * width;
    const double boxLeft = x - box * column / 2.0;
    event.marginLeft = margin(boxLeft);
    event.marginRight = margin(width - boxLeft - box);
  } else {
    event.marginLeft = margin(left);
    event.marginRight = margin(right);
  }
  double y = 0;
  if (placement.y) {
    y = *placement.y * height;
  } else if (placement.lineNumber) {
    // Lines of the style's font counted from its margin, at the top or the
    // bottom; the font's size is the height of its line.
    const long long n = *placement.lineNumber;
    const double line = AssFontSize(style, target);
    row = n >= 0 ? 2 : 0;
    y = n >= 0 ? vertical + n * line : height - vertical + (n + 1) * line;
  } else {
    y = row == 2 ? vertical : row == 1 ? height / 2 : height - vertical;
  }
  alignment = row * 3 + column + 1;
  event.overrides =
      "{\\an" + std::to_string(alignment) + "\\pos(" + AssNumber(x) + "," + AssNumber(y) + ")}";
  return event;
}

std::string CueFontBlock(const CueFont& font, const HdTarget& target) {
  std::string block;
  if (!font.family.empty()) {
    // A font name ends at the next backslash or brace.
    std::string family;
    for (const char c : font.family) {
      if (c != '\\' && c != '{' && c != '}') {
        family += c;
      }
    }
    block += "\\fn" + family;
  }
  if (font.height && *font.height > 0) {
    block += "\\fs" + AssNumber(*font.height * target.height);
  }
  const auto flag = [&block](const char* command, const std::optional<bool>& on) {
    if (on) {
      block += std::string("\\") + command + (*on ? "1" : "0");
    }
  };
  flag("b", font.bold);
  flag("i", font.italic);
  flag("u", font.underline);
  flag("s", font.strikeOut);
  return block.empty() ? block : "{" + block + "}";
}

std::string BuildAssScript(std::span<const HdCue> cues, MarkupDialect dialect, const HdStyle& style,
                           const HdTarget& target) {
  std::string script;
  script.reserve(1024 + cues.size() * 96);
  script += "[Script Info]\nScriptType: v4.00+\nWrapStyle: 0\nScaledBorderAndShadow: yes\n";
  script += "YCbCr Matrix: None\n";
  script += "PlayResX: " + std::to_string(target.width) + "\n";
  script += "PlayResY: " + std::to_string(target.height) + "\n\n";
  script += "[V4+ Styles]\n";
  script +=
      "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
      "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
      "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n";
  const auto flag = [](bool on) { return on ? std::string("-1") : std::string("0"); };
  const auto margin = [&target](int pixels) {
    return std::to_string(std::lround(ScaledToTarget(pixels, target)));
  };
  const std::string drawing =
      StyleField(style.fontName) + "," + AssNumber(AssFontSize(style, target)) + "," +
      AssColour(style.text) + ",&H000000FF," + AssColour(style.outline) + "," +
      AssColour(style.outline) + "," + flag(style.bold) + "," + flag(style.italic) + "," +
      flag(style.underline) + "," + flag(style.strikeOut) + ",100,100,0,0,1," +
      AssNumber(ScaledToTarget(style.outlineWidth, target)) + "," +
      AssNumber(ScaledToTarget(style.shadow, target)) + "," + std::to_string(style.alignment) + ",";
  script += "Style: Default," + drawing + margin(style.marginSides) + "," +
            margin(style.marginSides) + "," + margin(style.marginVertical) + ",1\n";
  const bool anyPlaced = std::any_of(
      cues.begin(), cues.end(), [](const HdCue& cue) { return cue.placement != CuePlacement{}; });
  if (anyPlaced) {
    script += "Style: Placed," + drawing + "0,0,0,1\n";
  }
  script += "\n";
  script += "[Events]\n";
  script += "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
  for (const HdCue& cue : cues) {
    const std::string layer = std::to_string(cue.font.layer);
    const std::string times = AssTime(cue.startMs) + "," + AssTime(cue.endMs);
    const std::string fontBlock = CueFontBlock(cue.font, target);
    if (cue.placement == CuePlacement{}) {
      script += "Dialogue: " + layer + "," + times + ",Default,,0,0,0,," + fontBlock +
                AssEventText(cue.lines, dialect, style) + "\n";
      continue;
    }
    const int markupAlignment =
        dialect == MarkupDialect::Literal ? 0 : ParseCueMarkup(cue.lines, dialect).alignment;
    const AssPlacement placed = PlacedEvent(cue.placement, markupAlignment, style, target);
    script += "Dialogue: " + layer + "," + times + ",Placed,," + std::to_string(placed.marginLeft) +
              "," + std::to_string(placed.marginRight) + ",0,," + placed.overrides + fontBlock +
              AssEventText(cue.lines, dialect, style) + "\n";
  }
  return script;
}

}  // namespace tesmora
