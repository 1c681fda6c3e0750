#include "app/PreviewControl.h"

#include <QPainter>

namespace tesmora {

QImage WithoutBottomLeftColour(const QImage& picture) {
  QImage shown = picture.convertToFormat(QImage::Format_ARGB32);
  if (shown.isNull()) {
    return shown;
  }
  const QRgb key = shown.pixel(0, shown.height() - 1) & RGB_MASK;
  for (int y = 0; y < shown.height(); ++y) {
    auto* pixels = reinterpret_cast<QRgb*>(shown.scanLine(y));
    for (int x = 0; x < shown.width(); ++x) {
      if ((pixels[x] & RGB_MASK) == key) {
        pixels[x] = 0;
      }
    }
  }
  return shown;
}

PreviewControl::PreviewControl(QWidget* parent) : QWidget(parent) {}

void PreviewControl::setPicture(QImage picture) {
  picture_ = std::move(picture);
  pictureChanged();
}

QImage& PreviewControl::pictureForDrawing() {
  if (picture_.format() != QImage::Format_RGB888) {
    picture_.convertTo(QImage::Format_RGB888);
  }
  pictureChanged();
  return picture_;
}

void PreviewControl::pictureChanged() {
  shownIsCurrent_ = false;
  update();
}

void PreviewControl::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) {
    return;
  }
  if (!shownIsCurrent_) {
    shown_ = WithoutBottomLeftColour(picture_);
    shownIsCurrent_ = true;
  }
  QPainter painter(this);
  painter.drawImage(rect(), shown_);
}

}  // namespace tesmora
