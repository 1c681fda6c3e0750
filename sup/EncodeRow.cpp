#include "sup/EncodeRow.h"

#include "sup/LineRunScan.h"
#include "sup/RunCodeWriter.h"

namespace tesmora {

void AppendEncodedRow(const std::uint8_t* row, const PackedKeys& keys,
                      std::vector<std::uint8_t>& out) {
  AppendLineWith(out, kMaxLineCodeBytes, [&](NibbleWriter& writer) {
    ScanLineRuns(row, keys, [&writer](unsigned length, PixelCode code) {
      WriteRunCodes(writer, length, code);
    });
  });
}

}  // namespace tesmora
