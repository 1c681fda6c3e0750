#include "sup/LineRuns.h"

#include "sup/LineRunScan.h"

namespace tesmora {

void BuildLineRunsInto(const std::uint8_t* row, const RoleKeyColours& keys,
                       std::vector<PixelRun>& runs) {
  runs.clear();
  ScanLineRuns(row, PackedKeys(keys), [&runs](unsigned length, PixelCode code) {
    runs.push_back({static_cast<int>(length), code});
  });
}

std::vector<PixelRun> BuildLineRuns(const FrameBitmap& frame, int line,
                                    const RoleKeyColours& keys) {
  std::vector<PixelRun> runs;
  BuildLineRunsInto(frame.row(line), keys, runs);
  return runs;
}

}  // namespace tesmora
