#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

namespace tesmora {

// What a file dropped on the main window is loaded as.
enum class DroppedKind { Subtitles, IfoPalette };

struct DroppedFile {
  DroppedKind kind;
  QString path;
};

// What the file at `path` would be loaded as: a subtitle file of a format
// read (by its extension) or a title set's IFO (VTS_xx_0.IFO), in any case
// of letters.
// Anything else is no file to load.
std::optional<DroppedFile> LoadableFile(const QString& path);

// The file a drop would load: a single local file that LoadableFile takes.
// Its path keeps the bytes of the name, whatever their encoding.
std::optional<DroppedFile> FileToLoad(const QList<QUrl>& urls);

}  // namespace tesmora
