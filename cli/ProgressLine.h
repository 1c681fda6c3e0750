#pragma once

#include <ostream>

namespace tesmora::cli {

// A one-line progress indicator for a terminal: "subtitle K of N (P%)",
// drawn over itself with a carriage return whenever the percentage changes.
// A disabled line writes nothing.
class ProgressLine {
 public:
  ProgressLine(std::ostream& out, int total, bool enabled);
  // A line left open by a run that failed is ended here, so that the error
  // starts on a line of its own.
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Subtitle `done` (counted from 1) is being converted.
  void show(int done);
  // Shows the last count and ends the line.
  void finish();

 private:
  void draw(int done);

  std::ostream& out_;
  int total_;
  bool enabled_;
  int shownPercent_ = -1;
};

}  // namespace tesmora::cli
