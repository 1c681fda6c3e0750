#include "render/LineMeasure.h"

#include <QFontMetrics>

namespace tesmora {

QString MeasuredText(const QString& text) {
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

LineMeasure MeasureLineWidth(const QString& text, const QFont& font) {
  const QFontMetrics metrics(font);
  const int height = metrics.ascent() + metrics.descent();
  if (text.isEmpty()) {
    return {metrics.horizontalAdvance(QLatin1Char(' ')), height};
  }
  const QString measured = MeasuredText(text);
  const int tabStop = std::max(1, 8 * metrics.averageCharWidth());
  int width = 0;
  qsizetype start = 0;
  for (qsizetype tab = measured.indexOf(QLatin1Char('\t')); tab >= 0;
       tab = measured.indexOf(QLatin1Char('\t'), start)) {
    width += metrics.horizontalAdvance(measured.mid(start, tab - start));
    width = (width / tabStop + 1) * tabStop;
    start = tab + 1;
  }
  width += metrics.horizontalAdvance(measured.mid(start));
  return {width, height};
}

}  // namespace tesmora
