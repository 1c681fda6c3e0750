#pragma once

#include <QFile>
#include <QString>
#include <optional>

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

// Whether the program may create files in the folder `path`.
bool IsWritableFolder(const QString& path);

// The folder of the running program's executable, without a trailing "/".
QString ProgramFolder();

// Replaces the file `path` with `bytes` as a whole: they go to a new file
// beside it, which takes the old one's place only when completely written.
// Missing folders on the way are created. Gives the system's reason when
// that fails; the old file then stays as it was.
std::optional<QString> ReplaceFile(const QString& path, const QByteArray& bytes);

}  // namespace tesmora
