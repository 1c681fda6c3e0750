#include "files/FileNames.h"

#include <gtest/gtest.h>

#include <QFile>

namespace tesmora {
namespace {

TEST(FileNames, UTF8NamesReadAsQtReadsThem) {
  for (const QByteArray& name : {QByteArray("/tmp/film.srt"), QByteArray("J\xC3\xA9r\xC3\xB4me"),
                                 QByteArray("\xE2\x82\xAC \xF0\x9F\x8E\xAC"), QByteArray()}) {
    EXPECT_EQ(FileNameText(name), QFile::decodeName(name));
    EXPECT_EQ(FileNameBytes(FileNameText(name)), name);
  }
}

TEST(FileNames, BytesThatAreNotUTF8BecomeEscapesAndComeBack) {
  EXPECT_EQ(FileNameText("bad\xFF"
                         "byte/"),
            QStringLiteral("bad") + QChar(0xDCFF) + QStringLiteral("byte/"));
  EXPECT_EQ(FileNameText("J\xE9r\xF4me"), QStringLiteral("J") + QChar(0xDCE9) +
                                              QStringLiteral("r") + QChar(0xDCF4) +
                                              QStringLiteral("me"));
  const QByteArray kinds[] = {
      "\x80",              // a stray continuation byte
      "\xC0\xAF",          // an overlong "/"
      "\xE0\x80\xAF",      // an overlong three-byte form
      "\xED\xB3\xBF",      // an encoded surrogate, U+DCFF itself
      "\xF4\x90\x80\x80",  // past U+10FFFF
      "\xE2\x82",          // cut off at the end
      "\xE2\x82x",         // cut off before another character
      "\xF8\x88\x80\x80\x80",
  };
  for (const QByteArray& bytes : kinds) {
    const QString text = FileNameText(bytes);
    EXPECT_EQ(text.size(), bytes.size()) << bytes.toHex().data();  // one escape per byte
    EXPECT_EQ(FileNameBytes(text), bytes) << bytes.toHex().data();
  }
}

TEST(FileNames, EveryByteRoundTrips) {
  QByteArray all;
  for (int byte = 1; byte < 256; ++byte) {
    all += static_cast<char>(byte);
    all += "\xC3\xA9";  // between valid characters too
  }
  EXPECT_EQ(FileNameBytes(FileNameText(all)), all);
}

TEST(FileNames, APairOfSurrogatesIsACharacterNotAnEscape) {
  const QString clapper = QString::fromUtf8("\xF0\x9F\x8E\xAC");  // U+1F3AC, low half U+DFAC
  EXPECT_EQ(FileNameBytes(clapper), QByteArray("\xF0\x9F\x8E\xAC"));
  const QString mixed = clapper + QChar(0xDC80);
  EXPECT_EQ(FileNameBytes(mixed), QByteArray("\xF0\x9F\x8E\xAC\x80"));
}

}  // namespace
}  // namespace tesmora
