#pragma once

#include <QImage>
#include <QWidget>

namespace tesmora {

// The window's preview: shows its picture stretched to the control's size,
// so a picture of the frame size appears pixel for pixel.
class PreviewControl : public QWidget {
  Q_OBJECT

 public:
  explicit PreviewControl(QWidget* parent = nullptr);

  const QImage& picture() const { return picture_; }
  void setPicture(QImage picture);

  // The picture to draw on, as 24-bit RGB; the control repaints afterwards.
  QImage& pictureForDrawing();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace tesmora
