// Drawing a film's HD pictures with libass at 1080p: 1,500 two-line cues of
// about 35 characters a line, a third of them with <i> runs, each shown for
// 2.4 s with a 0.6 s gap, as the converter will hand them over.
#include <benchmark/benchmark.h>

#include <vector>

#include "hdrender/HdPictures.h"

namespace tesmora {
namespace {

constexpr int kCues = 1500;

std::vector<HdCue> Film() {
  std::vector<HdCue> film;
  film.reserve(kCues);
  for (int i = 0; i < kCues; ++i) {
    HdCue cue;
    cue.startMs = 1000 + i * 3000LL;
    cue.endMs = cue.startMs + 2400;
    // A number in each cue, so that libass cannot reuse one cue's picture.
    const QString number = QString::number(i);
    if (i % 3 == 0) {
      cue.lines = {QStringLiteral("I never thought I'd see <i>this harbour</i> ") + number,
                   QStringLiteral("<i>again, not after what happened here.</i>")};
    } else {
      cue.lines = {QStringLiteral("I never thought I'd see this harbour ") + number,
                   QStringLiteral("again, not after what happened here.")};
    }
    film.push_back(std::move(cue));
  }
  return film;
}

void BM_HdPicturesOfFilm1080(benchmark::State& state) {
  const std::vector<HdCue> film = Film();
  HdStyle style;
  style.fontName = QStringLiteral("Liberation Sans");
  style.shadow = 1;
  const HdTarget target = *HdTargetForLines(1080);
  std::size_t bytes = 0;
  std::size_t pictures = 0;
  for (auto _ : state) {
    pictures = 0;
    bytes = 0;
    // Each picture is dropped once counted, as a writer would encode it.
    RenderCuePictures(film, MarkupDialect::Srt, style, target, [&](TimedPicture&& picture) {
      ++pictures;
      for (const RgbaRegion& region : picture.regions) {
        bytes += region.pixels.size() * sizeof(Rgba);
      }
    });
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["pictures"] = static_cast<double>(pictures);
  state.counters["rgba_MB_in_all"] = static_cast<double>(bytes) / 1e6;
  state.SetItemsProcessed(state.iterations() * kCues);
}
BENCHMARK(BM_HdPicturesOfFilm1080)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tesmora

BENCHMARK_MAIN();
