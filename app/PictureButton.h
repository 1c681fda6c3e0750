#pragma once

#include <QColor>
#include <QImage>
#include <QPushButton>

namespace tesmora {

// The picture with every pixel in `ink`, each keeping its own opacity: a
// picture of dark text on a clear ground, drawn in the text colour of the
// desktop's palette.
QImage InkedPicture(const QImage& picture, const QColor& ink);

// A button that shows a picture of its caption, drawn in the palette's
// button text colour (and its disabled one), again whenever the palette
// changes: dark text would vanish on the buttons of a dark theme.
class PictureButton : public QPushButton {
 public:
  PictureButton(const QImage& picture, QWidget* parent);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void inkIcon();

  QImage picture_;
};

}  // namespace tesmora
