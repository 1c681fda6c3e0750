// Encoding cost of a Blu-ray subtitle: one picture shaped like a two-line
// 1080p cue of antialiased outlined text (882 x 117, runs of about 4 pixels,
// some 500 distinct RGBA values) through layout, palette, run-length coding
// and segments.
#include <benchmark/benchmark.h>

#include "pgs/StreamWriter.h"

namespace tesmora::pgs {
namespace {

// Columns cycle through gap, outline ramp, fill ramp and outline ramp, with
// a small shift each row, like strokes of glyphs.
PlacedPicture TwoLinePicture() {
  constexpr int kWidth = 882;
  constexpr int kHeight = 117;
  PlacedPicture region{519, 913, {kWidth, kHeight, {}}};
  region.picture.pixels.resize(kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    const bool between_lines = y > 54 && y < 62;
    for (int x = 0; x < kWidth; ++x) {
      const int phase = (x + y / 3 + (x / 37) * 5) % 15;
      Rgba& p = region.picture.At(x, y);
      if (between_lines || phase < 4) {
        p = {0, 0, 0, 0};
      } else if (phase < 7 || phase > 11) {
        p = {0, 0, 0, static_cast<std::uint8_t>(40 + (x / 4 * 7 + y / 2 * 3) % 215)};
      } else {
        const auto grey = static_cast<std::uint8_t>((x / 4 * 13 + y / 2 * 5) % 256);
        p = {grey, grey, grey, 255};
      }
    }
  }
  return region;
}

void BM_WritePgsTwoLineCue1080(benchmark::State& state) {
  const TimedPicture cue{
      TicksFromMilliseconds(5000), TicksFromMilliseconds(8000), {TwoLinePicture()}, false};
  std::size_t bytes = 0;
  for (auto _ : state) {
    const PgsStream stream = WritePgsStream(std::span(&cue, 1), {});
    bytes = stream.bytes.size();
    benchmark::DoNotOptimize(stream.bytes.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WritePgsTwoLineCue1080)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tesmora::pgs
