#pragma once

#include <QFrame>
#include <QLabel>
#include <array>

#include "palette/Palette.h"

namespace tesmora {

// The on-screen form of the palette: 16 colour squares with their entry
// numbers above them, to the right of "Ifo Colors:". Each shows its entry's
// tooltip.
class SwatchRow {
 public:
  // Replaces any row on `window` with one for `palette`.
  void build(QWidget* window, const Palette& palette);
  // Removes all 32 controls.
  void clear();

  bool empty() const { return swatches_[0] == nullptr; }
  QFrame* swatch(int n) const { return swatches_[static_cast<std::size_t>(n)]; }
  QLabel* numberLabel(int n) const { return labels_[static_cast<std::size_t>(n)]; }

 private:
  std::array<QFrame*, 16> swatches_{};
  std::array<QLabel*, 16> labels_{};
};

}  // namespace tesmora
