#include "app/PictureButton.h"

#include <QEvent>
#include <QIcon>
#include <QPixmap>

namespace tesmora {

QImage InkedPicture(const QImage& picture, const QColor& ink) {
  QImage inked = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < inked.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(inked.scanLine(y));
    for (int x = 0; x < inked.width(); ++x) {
      row[x] = qRgba(ink.red(), ink.green(), ink.blue(), qAlpha(row[x]) * ink.alpha() / 255);
    }
  }
  return inked;
}

PictureButton::PictureButton(const QImage& picture, QWidget* parent)
    : QPushButton(parent), picture_(picture) {
  inkIcon();
}

void PictureButton::changeEvent(QEvent* event) {
  QPushButton::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) {
    inkIcon();
  }
}

void PictureButton::inkIcon() {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(InkedPicture(
                     picture_, palette().color(QPalette::Active, QPalette::ButtonText))),
                 QIcon::Normal);
  icon.addPixmap(QPixmap::fromImage(InkedPicture(
                     picture_, palette().color(QPalette::Disabled, QPalette::ButtonText))),
                 QIcon::Disabled);
  setIcon(icon);
}

}  // namespace tesmora
