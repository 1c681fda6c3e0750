#include "app/PreviewControl.h"

#include <QPainter>

namespace tesmora {

PreviewControl::PreviewControl(QWidget* parent) : QWidget(parent) {}

void PreviewControl::setPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

QImage& PreviewControl::pictureForDrawing() {
  if (picture_.format() != QImage::Format_RGB888) {
    picture_.convertTo(QImage::Format_RGB888);
  }
  update();
  return picture_;
}

void PreviewControl::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) {
    return;
  }
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}

}  // namespace tesmora
