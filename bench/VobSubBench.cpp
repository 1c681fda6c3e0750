// The VobSub pair of the 1,500-cue film: its units laid out in packs, the
// index text, and both written to files. The film's stream holds 7.3 MB of
// units, about 4,900 bytes each; the units here have that size and the
// film's cue times (a cue every 3.5 s).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "output/VobSubIndex.h"
#include "output/VobSubPacks.h"

namespace tesmora {
namespace {

constexpr int kCues = 1500;
constexpr std::size_t kUnitSize = 4900;

void BM_WriteVobSubPairOfFilm(benchmark::State& state) {
  std::vector<std::vector<std::uint8_t>> bytes(kCues);
  std::vector<VobSubUnit> units;
  for (int n = 0; n < kCues; ++n) {
    bytes[n].assign(kUnitSize, static_cast<std::uint8_t>(n));
    units.push_back({static_cast<std::uint32_t>(n) * 315000u, bytes[n]});
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const VobSubTrack track{576, RgbPalette{}, "en", false};
  for (auto _ : state) {
    // A conversion writes new files; truncating the last round's is not its cost.
    state.PauseTiming();
    std::filesystem::remove(folder / "tesmora_bench.sub");
    std::filesystem::remove(folder / "tesmora_bench.idx");
    state.ResumeTiming();
    const VobSubPacks packs = BuildVobSubPacks(units);
    std::vector<VobSubIndexEntry> entries;
    entries.reserve(units.size());
    for (std::size_t n = 0; n < units.size(); ++n) {
      entries.push_back({units[n].pts, packs.unitPositions[n]});
    }
    const std::string index = VobSubIndexText(track, entries);
    std::ofstream sub(folder / "tesmora_bench.sub", std::ios::binary);
    sub.write(reinterpret_cast<const char*>(packs.bytes.data()),
              static_cast<std::streamsize>(packs.bytes.size()));
    std::ofstream idx(folder / "tesmora_bench.idx", std::ios::binary);
    idx << index;
  }
  std::filesystem::remove(folder / "tesmora_bench.sub");
  std::filesystem::remove(folder / "tesmora_bench.idx");
}
BENCHMARK(BM_WriteVobSubPairOfFilm)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmora
