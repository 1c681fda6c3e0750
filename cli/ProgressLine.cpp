#include "cli/ProgressLine.h"

#include "cli/CliConsole.h"

namespace tesmora::cli {

ProgressLine::ProgressLine(std::ostream& out, int total, bool enabled)
    : out_(out), total_(total), enabled_(enabled && total > 0) {}

ProgressLine::~ProgressLine() {
  if (enabled_ && shownPercent_ >= 0) {
    out_ << '\n' << std::flush;
  }
}

void ProgressLine::show(int done) {
  if (!enabled_) {
    return;
  }
  if (static_cast<long long>(done) * 100 / total_ != shownPercent_) {
    draw(done);
  }
}

void ProgressLine::finish() {
  if (!enabled_) {
    return;
  }
  draw(total_);
  out_ << '\n' << std::flush;
  enabled_ = false;
}

void ProgressLine::draw(int done) {
  shownPercent_ = static_cast<int>(static_cast<long long>(done) * 100 / total_);
  out_ << '\r' << kProgramName << ": subtitle " << done << " of " << total_ << " (" << shownPercent_
       << "%)" << std::flush;
}

}  // namespace tesmora::cli
