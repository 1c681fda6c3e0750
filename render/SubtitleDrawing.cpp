#include "render/SubtitleDrawing.h"

#include <string_view>

#include "render/SubtitleFont.h"
#include "render/TextDecoder.h"

namespace tesmora {

PreparedSubtitle PrepareSubtitle(const QByteArray& line1, const QByteArray& line2,
                                 const SubtitleStyle& style) {
  PreparedSubtitle prepared;
  prepared.font = SubtitleFont(style.fontName, style.size, style.style);
  const TextDecoder decoder(style.charset);
  const auto decode = [&](const QByteArray& bytes) {
    QString text = decoder.decode(std::string_view(bytes.constData(), bytes.size()));
    return style.charset == charset::kSymbol ? SymbolTextForFont(text, prepared.font) : text;
  };
  prepared.line1 = decode(line1);
  prepared.line2 = decode(line2);
  prepared.measure1 = MeasureLineWidth(prepared.line1, prepared.font);
  prepared.measure2 = MeasureLineWidth(prepared.line2, prepared.font);
  return prepared;
}

namespace {

// A message quotes a line whole unless it is far longer than any frame
// shows: then its start and its length, so that a line of megabytes gives a
// message of a few lines.
constexpr qsizetype kLongestQuotedLine = 300;

QString Quoted(const QString& line) {
  if (line.size() <= kLongestQuotedLine) {
    return line;
  }
  return line.left(kLongestQuotedLine) + QStringLiteral("\u2026 (%1 characters)").arg(line.size());
}

}  // namespace

QString TooLongMessage(const QString& line1, const QString& line2) {
  const QChar cr(u'\r');
  return QStringLiteral("The string ") + cr + Quoted(line1) + cr + Quoted(line2) + cr +
         QStringLiteral("is too long.");
}

QString OverlongEntryMessage(const QString& line1, const QString& line2, bool subtitlesLoaded) {
  return TooLongMessage(line1, line2) +
         (subtitlesLoaded
              ? QStringLiteral(" Please use a smaler font size.")
              : QStringLiteral(" Please correct the srt and reload it. You can just use "
                               "a smaler font size."));
}

QString OverlongCueMessage(const QStringList& lines, bool subtitlesLoaded) {
  if (lines.size() <= 2) {
    return OverlongEntryMessage(lines.value(0), lines.value(1), subtitlesLoaded);
  }
  const QChar cr(u'\r');
  QString text = QStringLiteral("The string ") + cr;
  for (const QString& line : lines) {
    text += Quoted(line) + cr;
  }
  return text + QStringLiteral("is too long.") +
         (subtitlesLoaded
              ? QStringLiteral(" Please use a smaler font size.")
              : QStringLiteral(" Please correct the srt and reload it. You can just use "
                               "a smaler font size."));
}

QRect DrawSubtitle(QImage& picture, const PreparedSubtitle& subtitle, const SubtitleLayout& layout,
                   int outlineWidth, const RoleColours& colours, GlyphCache* glyphs) {
  const QRect first = DrawOutlinedLine(picture, subtitle.line1, subtitle.font, layout.cell1,
                                       outlineWidth, colours, glyphs);
  const QRect second = DrawOutlinedLine(picture, subtitle.line2, subtitle.font, layout.cell2,
                                        outlineWidth, colours, glyphs);
  return first.united(second);
}

}  // namespace tesmora
