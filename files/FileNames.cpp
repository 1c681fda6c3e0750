#include "files/FileNames.h"

#include <QFile>

namespace tesmora {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // a byte b >= 0x80 becomes U+DC00 + b

// The length of the well-formed UTF-8 sequence at `at`, or 0 when the byte
// there starts none (a stray continuation byte, an overlong form, an encoded
// surrogate, a code point past U+10FFFF, or a cut-off sequence).
qsizetype SequenceLength(const QByteArray& bytes, qsizetype at) {
  const auto byte = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    return 1;
  }
  qsizetype length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (at + length > bytes.size() || byte(at + 1) < low || byte(at + 1) > high) {
    return 0;
  }
  for (qsizetype i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
      return 0;
    }
  }
  return length;
}

bool IsEscapedByte(QChar c) {
  return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF;
}

}  // namespace

QString FileNameText(const QByteArray& bytes) {
  QString text;
  qsizetype plainFrom = 0;
  qsizetype at = 0;
  while (at < bytes.size()) {
    const qsizetype length = SequenceLength(bytes, at);
    if (length > 0) {
      at += length;
      continue;
    }
    text += QFile::decodeName(bytes.mid(plainFrom, at - plainFrom));
    text += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[at])));
    plainFrom = ++at;
  }
  if (plainFrom == 0) {
    return QFile::decodeName(bytes);
  }
  return text + QFile::decodeName(bytes.mid(plainFrom));
}

QByteArray FileNameBytes(const QString& text) {
  QByteArray bytes;
  qsizetype plainFrom = 0;
  for (qsizetype at = 0; at < text.size(); ++at) {
    // A low surrogate after a high one is half of a pair, not an escape.
    if (IsEscapedByte(text[at]) && (at == 0 || !text[at - 1].isHighSurrogate())) {
      bytes += QFile::encodeName(text.mid(plainFrom, at - plainFrom));
      bytes += static_cast<char>(text[at].unicode() - kEscapeBase);
      plainFrom = at + 1;
    }
  }
  if (plainFrom == 0) {
    return QFile::encodeName(text);
  }
  return bytes + QFile::encodeName(text.mid(plainFrom));
}

}  // namespace tesmora
