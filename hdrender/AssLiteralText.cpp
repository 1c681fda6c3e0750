#include "hdrender/AssLiteralText.h"

namespace tesmora {

namespace {

constexpr char16_t kWordJoiner = u'\u2060';

bool ReadAfterBackslash(QChar c) {
  return c == u'N' || c == u'n' || c == u'h' || c == u'{' || c == u'}';
}

}  // namespace

QString AssLiteralText(const QString& text) {
  QString out;
  out.reserve(text.size() + text.size() / 8 + 2);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'{' || c == u'}') {
      out += u'\\';
      out += c;
    } else if (c == u'\\') {
      out += c;
      // At the end, what follows (an override block of the next run) is
      // not known, so the backslash is closed off there too.
      if (i + 1 == text.size() || ReadAfterBackslash(text[i + 1])) {
        out += kWordJoiner;
      }
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tesmora
