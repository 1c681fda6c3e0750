#pragma once

#include <QByteArray>
#include <QString>

namespace tesmora {

// A file name between the file system's bytes and the text the program
// holds. Names in UTF-8 become the text Qt's file-name encoding gives them
// (QFile::decodeName). Qt's encoding loses every byte that is not UTF-8, so a
// name like "bad\xFFbyte" could be neither opened nor written again; such a
// byte becomes the lone low surrogate U+DC00 + byte instead, which no UTF-8
// name produces, and becomes the same byte again on the way back. So
// FileNameBytes(FileNameText(bytes)) == bytes for every name.
QString FileNameText(const QByteArray& bytes);
QByteArray FileNameBytes(const QString& text);

}  // namespace tesmora
