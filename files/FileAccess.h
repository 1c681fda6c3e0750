#pragma once

#include <QFile>
#include <QString>

namespace tesmora {

// File operations on names as FileNameText holds them: each goes to the file
// system with the name's own bytes (FileNameBytes), also where they are not
// UTF-8 and Qt's own path functions would change them.

// Opens `file` for reading the file named `path`; false when it cannot be
// opened or is a folder.
bool OpenForReading(QFile& file, const QString& path);

// Whether anything exists under `path`; whether it is a folder.
bool PathExists(const QString& path);
bool IsFolder(const QString& path);

// `path` made absolute against the working folder, with "." and ".."
// resolved by name and no trailing "/" (except for the root).
QString AbsolutePath(const QString& path);

// The absolute folder holding the file `filePath`, ending in "/".
QString FolderOfFile(const QString& filePath);

}  // namespace tesmora
