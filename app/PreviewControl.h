#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

namespace tesmora {

// The picture as the preview shows it: every pixel of the colour of its
// bottom-left pixel left out (transparent). On a key frame that removes the
// whole blue background.
QImage WithoutBottomLeftColour(const QImage& picture);

// The window's preview: shows its picture stretched to the control's size,
// so a picture of the frame size appears pixel for pixel on a control of the
// frame size, and smoothly scaled on a smaller or larger one; drawn
// transparently, so the window's background shows where the picture has the
// colour of its bottom-left pixel.
class PreviewControl : public QWidget {
  Q_OBJECT

 public:
  explicit PreviewControl(QWidget* parent = nullptr);

  const QImage& picture() const { return picture_; }

  // The size of the frame the preview stands for, in frame pixels, whatever
  // size the control is shown at.
  QSize frameSize() const { return frameSize_; }
  void setFrameSize(QSize size) { frameSize_ = size; }
  void setPicture(QImage picture);

  // The picture to draw on, as 24-bit RGB; the control repaints afterwards.
  QImage& pictureForDrawing();
  // Tells the control that its picture's pixels were changed in place.
  void pictureChanged();
  // True when no picture was handed in during the last screen frame: a run
  // that makes pictures faster than the screen shows them draws one on the
  // preview only then.
  bool readyForPicture() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QSize frameSize_{720, 576};
  static constexpr qint64 kFrameMs = 16;

  QImage shown_;
  bool shownIsCurrent_ = false;
  QElapsedTimer lastPaint_;
  QElapsedTimer lastChange_;
  bool repaintPending_ = false;
};

}  // namespace tesmora
