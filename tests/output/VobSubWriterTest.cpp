#include "output/VobSubWriter.h"

#include <gtest/gtest.h>

#include "output/VobSubPacks.h"
#include "tests/files/TestFolder.h"

namespace tesmora {
namespace {

using VobSubWriterTest = testing::TestFolder;

TEST_F(VobSubWriterTest, WritesTheSamePairAsLayingOutAllUnitsAtOnce) {
  // A small unit, one that fills a pack exactly, and one that needs three.
  const std::vector<std::uint8_t> small(100, 0x11);
  const std::vector<std::uint8_t> exact(2048 - 14 - 9 - 5 - 1, 0x22);
  const std::vector<std::uint8_t> large(5000, 0x33);
  const std::vector<VobSubUnit> units = {{90000, small}, {180000, exact}, {5400000, large}};
  const VobSubTrack track{480, RgbPalette{}, "de", true};

  PendingFile sub(folder_ / "film.sub");
  VobSubWriter writer(sub, track);
  for (const VobSubUnit& unit : units) {
    writer.add(unit.pts, unit.bytes);
  }
  sub.finish();
  sub.replaceTarget();

  const VobSubPacks expected = BuildVobSubPacks(units);
  EXPECT_EQ(expected.unitPositions, (std::vector<std::uint64_t>{0, 2048, 4096}));
  const std::string bytes = Contents(folder_ / "film.sub");
  EXPECT_EQ(bytes, std::string(expected.bytes.begin(), expected.bytes.end()));
  EXPECT_EQ(writer.indexText(),
            VobSubIndexText(
                track, std::vector<VobSubIndexEntry>{{90000, 0}, {180000, 2048}, {5400000, 4096}}));
}

TEST_F(VobSubWriterTest, IndexesNoUnitForAnEmptyRun) {
  PendingFile sub(folder_ / "empty.sub");
  const VobSubTrack track{576, RgbPalette{}, "en", false};
  const VobSubWriter writer(sub, track);
  EXPECT_EQ(writer.indexText(), VobSubIndexText(track, {}));
}

}  // namespace
}  // namespace tesmora
