#pragma once

#include <QByteArrayList>
#include <QWidget>

namespace tesmora {

// A hidden store of text lines on the window: one of the parallel lists that
// hold the loaded subtitles. Lines stay undecoded 8-bit text.
class LineStore : public QWidget {
  Q_OBJECT

 public:
  explicit LineStore(QWidget* parent = nullptr) : QWidget(parent) { hide(); }

  QByteArrayList& lines() { return lines_; }
  const QByteArrayList& lines() const { return lines_; }

 private:
  QByteArrayList lines_;
};

}  // namespace tesmora
