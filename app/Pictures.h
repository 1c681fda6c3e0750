#pragma once

#include <QHash>
#include <QImage>
#include <QString>

namespace tesmora {

// A picture built into the program, by name ("PreviewPal720x576", "colors",
// ...). Throws PlatformError when there is no such picture.
QImage BuiltInPicture(const QString& name);

// The built-in pictures a window uses again and again, each decoded (and
// converted to `format`) once. Copies share the pixels until one of them is
// drawn on.
class BuiltInPictures {
 public:
  QImage get(const QString& name, QImage::Format format);

 private:
  QHash<QString, QImage> decoded_;
};

// A picture file chosen by the user. Throws PlatformError with "Cannot open
// file <path>" when it cannot be read, and "Bitmap image is not valid" when
// its content is no picture.
QImage LoadPictureFile(const QString& path);

}  // namespace tesmora
