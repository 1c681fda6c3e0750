#include "about/ShownText.h"

namespace tesmora {
namespace {

constexpr char16_t kControlPictures = 0x2400;  // U+2400 pictures NUL, U+241F US
constexpr char16_t kDeletePicture = 0x2421;
constexpr char16_t kReplacement = 0xFFFD;

QChar Shown(QChar c) {
  const char16_t code = c.unicode();
  if (code < 0x20) {
    return QChar(static_cast<char16_t>(kControlPictures + code));
  }
  if (code == 0x7F) {
    return QChar(kDeletePicture);
  }
  // The other controls (C1, line and paragraph separators) have no picture
  // of their own.
  if (c.category() == QChar::Other_Control || code == 0x2028 || code == 0x2029) {
    return QChar(kReplacement);
  }
  return c;
}

}  // namespace

QString ShownServerText(const QString& text, qsizetype limit) {
  QString shown = text.left(limit);
  for (QChar& c : shown) {
    c = Shown(c);
  }
  return shown;
}

}  // namespace tesmora
