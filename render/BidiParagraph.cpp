#include "render/BidiParagraph.h"

#include <QTextOption>

namespace tesmora {

bool IsRightToLeftOrBidiControl(QChar::Direction direction) {
  switch (direction) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirRLI:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirLRI:
    case QChar::DirFSI:
    case QChar::DirPDF:
    case QChar::DirPDI:
      return true;
    default:
      return false;
  }
}

bool NeedsBidiParagraph(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t code = text[i].unicode();
    if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      code = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    if (IsRightToLeftOrBidiControl(QChar::direction(code))) {
      return true;
    }
  }
  return false;
}

void LayOutBidiParagraph(QTextLayout& layout, const QString& text, const QFont& font,
                         const QList<QTextLayout::FormatRange>& formats) {
  layout.setText(text);
  layout.setFont(font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LayoutDirectionAuto);
  // A right-to-left paragraph would otherwise sit at the right end of the
  // line's width; the caller places the line by its left edge.
  option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
  layout.setTextOption(option);
  layout.setFormats(formats);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) {
    line.setNumColumns(static_cast<int>(text.size()));
    line.setPosition(QPointF(0, 0));
  }
  layout.endLayout();
}

}  // namespace tesmora
