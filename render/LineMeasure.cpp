#include "render/LineMeasure.h"

#include <QFontMetrics>
#include <algorithm>

#include "render/SubtitleLayout.h"

namespace tesmora {

QString MeasuredText(const QString& text) {
  if (!text.contains(QLatin1Char('&'))) {
    return text;
  }
  QString measured;
  measured.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
        measured += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    measured += text[i];
  }
  return measured;
}

namespace {

// The characters of a line that take room: all but combining marks and
// format characters (joiners, direction marks), which have no advance of
// their own. Each of the others takes at least a pixel, so a line with more
// of them than the frame has columns cannot fit.
qsizetype CountTakingRoom(const QString& text) {
  qsizetype count = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t code = text[i].unicode();
    if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      code = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    switch (QChar::category(code)) {
      case QChar::Mark_NonSpacing:
      case QChar::Mark_Enclosing:
      case QChar::Other_Format:
        break;
      default:
        ++count;
    }
  }
  return count;
}

}  // namespace

qsizetype CharactersTakingRoom(const QString& text) {
  return CountTakingRoom(MeasuredText(text));
}

LineMeasure MeasureLineWidth(const QString& text, const QFont& font) {
  const QFontMetrics metrics(font);
  const int height = metrics.ascent() + metrics.descent();
  if (text.isEmpty()) {
    return {metrics.horizontalAdvance(QLatin1Char(' ')), height};
  }
  const QString measured = MeasuredText(text);
  if (CountTakingRoom(measured) > kFrameWidth) {
    // Laying it out would be slow, and Qt's own advance overflows past
    // about 33 million pixels.
    return {kUnmeasurablyWide, height};
  }
  const long long tabStop = std::max(1, 8 * metrics.averageCharWidth());
  long long width = 0;
  qsizetype start = 0;
  for (qsizetype tab = measured.indexOf(QLatin1Char('\t')); tab >= 0;
       tab = measured.indexOf(QLatin1Char('\t'), start)) {
    width += metrics.horizontalAdvance(measured.mid(start, tab - start));
    width = (width / tabStop + 1) * tabStop;
    start = tab + 1;
  }
  width += metrics.horizontalAdvance(measured.mid(start));
  return {static_cast<int>(std::min<long long>(width, kUnmeasurablyWide)), height};
}

}  // namespace tesmora
