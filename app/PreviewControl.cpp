#include "app/PreviewControl.h"

#include <QPainter>
#include <QTimer>

namespace tesmora {

QImage WithoutBottomLeftColour(const QImage& picture) {
  if (picture.isNull()) {
    return {};
  }
  const QImage source = picture.format() == QImage::Format_RGB888
                            ? picture
                            : picture.convertToFormat(QImage::Format_RGB888);
  const int width = source.width();
  const int height = source.height();
  const uchar* keyPixel = source.constScanLine(height - 1);
  const QRgb key = qRgb(keyPixel[0], keyPixel[1], keyPixel[2]);
  QImage shown(width, height, QImage::Format_ARGB32);
  for (int y = 0; y < height; ++y) {
    const uchar* in = source.constScanLine(y);
    auto* out = reinterpret_cast<QRgb*>(shown.scanLine(y));
    for (int x = 0; x < width; ++x, in += 3) {
      const QRgb pixel = qRgb(in[0], in[1], in[2]);
      out[x] = pixel == key ? 0 : pixel;
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
  lastChange_.start();
  // Changes faster than the screen can show (a generation run draws a
  // subtitle in well under a millisecond) are shown at most once a frame.
  const qint64 sincePaint = lastPaint_.isValid() ? lastPaint_.elapsed() : kFrameMs;
  if (sincePaint >= kFrameMs) {
    update();
  } else if (!repaintPending_) {
    repaintPending_ = true;
    QTimer::singleShot(static_cast<int>(kFrameMs - sincePaint), this, [this] {
      repaintPending_ = false;
      update();
    });
  }
}

bool PreviewControl::readyForPicture() const {
  return !lastChange_.isValid() || lastChange_.elapsed() >= kFrameMs;
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
  if (size() != shown_.size()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
  }
  painter.drawImage(rect(), shown_);
  lastPaint_.start();
}

}  // namespace tesmora
