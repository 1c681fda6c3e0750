#include "about/TForm2.h"

namespace tesmora {

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("About"));
}

}  // namespace tesmora
