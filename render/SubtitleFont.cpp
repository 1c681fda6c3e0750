#include "render/SubtitleFont.h"

#include <QFontMetrics>

namespace tesmora {

int EmPixels(int points) {
  const long long scaled = static_cast<long long>(points) * 96;
  long long pixels = scaled / 72;
  const long long rest = scaled % 72;
  if (rest * 2 > 72 || (rest * 2 == 72 && pixels % 2 != 0)) {
    ++pixels;
  }
  return static_cast<int>(pixels);
}

QFont SubtitleFont(const QString& fontName, int points, FontStyle style) {
  QFont font(fontName);
  font.setPixelSize(std::max(1, EmPixels(points)));
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  font.setStrikeOut(style.strikeOut);
  font.setKerning(false);
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

QString SymbolTextForFont(const QString& text, const QFont& font) {
  const QFontMetrics metrics(font);
  QString drawable;
  drawable.reserve(text.size());
  for (const QChar c : text) {
    const char16_t code = c.unicode();
    if (code >= 0xF000 && code <= 0xF0FF && !metrics.inFont(c)) {
      drawable += QChar(static_cast<char16_t>(code - 0xF000));
    } else {
      drawable += c;
    }
  }
  return drawable;
}

}  // namespace tesmora
