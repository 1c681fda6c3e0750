#pragma once

#include <QImage>
#include <QString>

namespace tesmora {

// A picture built into the program, by name ("PreviewPal720x576", "colors",
// ...). Throws PlatformError when there is no such picture.
QImage BuiltInPicture(const QString& name);

// A picture file chosen by the user. Throws PlatformError with "Cannot open
// file <path>" when it cannot be read, and "Bitmap image is not valid" when
// its content is no picture.
QImage LoadPictureFile(const QString& path);

}  // namespace tesmora
