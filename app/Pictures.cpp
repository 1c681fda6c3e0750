#include "app/Pictures.h"

#include <QFile>
#include <QImageReader>

#include "files/FileAccess.h"
#include "platform/Platform.h"

namespace tesmora {

QImage BuiltInPicture(const QString& name) {
  QImage picture(QStringLiteral(":/pictures/") + name + QStringLiteral(".png"));
  if (picture.isNull()) {
    throw PlatformError(QStringLiteral("Resource ") + name + QStringLiteral(" not found"));
  }
  return picture;
}

QImage BuiltInPictures::get(const QString& name, QImage::Format format) {
  auto found = decoded_.find(name);
  if (found == decoded_.end() || found->format() != format) {
    found = decoded_.insert(name, BuiltInPicture(name).convertToFormat(format));
  }
  return *found;
}

QImage LoadPictureFile(const QString& path) {
  QFile file;
  if (!OpenForReading(file, path)) {
    throw PlatformError(QStringLiteral("Cannot open file ") + path);
  }
  QImageReader reader(&file);
  reader.setDecideFormatFromContent(true);
  const QImage picture = reader.read();
  if (picture.isNull()) {
    throw PlatformError(QStringLiteral("Bitmap image is not valid"));
  }
  return picture;
}

}  // namespace tesmora
