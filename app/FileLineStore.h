#pragma once

#include <QWidget>
#include <string>

#include "subtitles/LineList.h"
#include "subtitles/TextLines.h"

namespace tesmora {

// A hidden store of the loaded file's lines: the file's text once and where
// each line ends, so that a file of many short lines takes a few times its
// size rather than an object per line.
class FileLineStore : public QWidget {
  Q_OBJECT

 public:
  explicit FileLineStore(QWidget* parent = nullptr) : QWidget(parent) { hide(); }

  // Takes the text and splits it into lines.
  void assign(std::string text) {
    text_ = std::move(text);
    lines_ = SplitLines(text_);
  }
  void clear() { assign(std::string()); }

  const LineList& lines() const { return lines_; }

 private:
  std::string text_;
  LineList lines_;
};

}  // namespace tesmora
