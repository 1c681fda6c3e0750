#include "app/SwatchRow.h"

namespace tesmora {

void SwatchRow::build(QWidget* window, const Palette& palette) {
  clear();
  for (int n = 0; n < 16; ++n) {
    const PaletteEntry& entry = palette[static_cast<std::size_t>(n)];
    const QString hint = QString::fromStdString(entry.hintText);
    const QColor colour(entry.rgb.r, entry.rgb.g, entry.rgb.b);

    auto* swatch = new QFrame(window);
    swatch->setObjectName(QStringLiteral("Swatch%1").arg(n));
    swatch->setGeometry(63 + 20 * n, 66, 18, 18);
    swatch->setAutoFillBackground(true);
    QPalette look = swatch->palette();
    look.setColor(QPalette::Window, colour);
    swatch->setPalette(look);
    swatch->setToolTip(hint);
    swatch->show();

    auto* label = new QLabel(QString::number(n), window);
    label->setObjectName(QStringLiteral("SwatchNumber%1").arg(n));
    label->setGeometry(65 + 20 * n, 53, 18, 13);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setToolTip(hint);
    label->show();

    swatches_[static_cast<std::size_t>(n)] = swatch;
    labels_[static_cast<std::size_t>(n)] = label;
  }
}

void SwatchRow::clear() {
  for (std::size_t n = 0; n < 16; ++n) {
    delete swatches_[n];
    delete labels_[n];
    swatches_[n] = nullptr;
    labels_[n] = nullptr;
  }
}

}  // namespace tesmora
