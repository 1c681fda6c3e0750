#include "text/StyledLine.h"

#include <algorithm>

namespace tesmora {

QString StyledLine::plainText() const {
  if (runs.size() == 1) {
    return runs.front().text;
  }
  QString text;
  for (const TextRun& run : runs) {
    text += run.text;
  }
  return text;
}

void AppendRun(StyledLine& line, const TextRun& run) {
  if (run.text.isEmpty()) {
    return;
  }
  if (!line.runs.empty() && line.runs.back().sameStyleAs(run)) {
    line.runs.back().text += run.text;
    return;
  }
  line.runs.push_back(run);
}

StyledLine SliceLine(const StyledLine& line, qsizetype from, qsizetype to) {
  StyledLine slice;
  qsizetype runStart = 0;
  for (const TextRun& run : line.runs) {
    if (runStart >= to) {
      break;  // the runs past the slice add nothing; a long line has many
    }
    const qsizetype runEnd = runStart + run.text.size();
    const qsizetype first = std::max(from, runStart);
    const qsizetype last = std::min(to, runEnd);
    if (first < last) {
      TextRun piece = run;
      piece.text = run.text.mid(first - runStart, last - first);
      AppendRun(slice, piece);
    }
    runStart = runEnd;
  }
  return slice;
}

}  // namespace tesmora
