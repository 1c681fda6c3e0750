#pragma once

#include <QWidget>

namespace tesmora {

// The About window. Created hidden at start; the About button shows it.
class TForm2 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);
};

}  // namespace tesmora
