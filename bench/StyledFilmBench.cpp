// Drawing and encoding a film's cues at the default style: a plain film of
// two-line cues against the same film styled, a third of its cues holding
// <i> runs and some of them three lines. Both films hold the same number of
// cues, so their times per iteration compare as costs per cue.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "render/KeyFrameRenderer.h"
#include "sup/EncodeFields.h"

namespace tesmora {
namespace {

constexpr int kCues = 30;
constexpr RoleColours kColours{qRgb(0, 0, 0), qRgb(85, 85, 85), qRgb(255, 255, 255)};
const std::string kLine1 = "I never thought I'd see this harbour";
const std::string kLine2 = "again, not after what happened here.";
const std::string kLine3 = "The boats are gone.";

std::vector<CueToDraw> PlainFilm() {
  return std::vector<CueToDraw>(kCues, CueToDraw{{kLine1, kLine2}});
}

// Every third cue styled: <i> runs over part of a line or all of it, and
// every sixth with a third line.
std::vector<CueToDraw> StyledFilm() {
  std::vector<CueToDraw> film = PlainFilm();
  for (int i = 0; i < kCues; i += 3) {
    CueToDraw& cue = film[static_cast<std::size_t>(i)];
    cue.lines = {"I never thought I'd see <i>this harbour</i>", "<i>" + kLine2 + "</i>"};
    if (i % 6 == 0) {
      cue.lines.push_back(kLine3);
    }
  }
  return film;
}

void DrawFilm(benchmark::State& state, const std::vector<CueToDraw>& film) {
  const SubtitleStyle style;
  const TextSource source{MarkupDialect::Srt};
  KeyFrameRenderer renderer;
  const RoleKeyColours keys{{255, 255, 255}, {0, 0, 0}, {85, 85, 85}};
  for (auto _ : state) {
    for (const CueToDraw& cue : film) {
      const EncodeArea area = renderer.render(std::span(&cue, 1), source, style, 3, kColours, 576);
      PixelData data = EncodeFields(renderer.frame(), *CutToFrame(area, 576), keys);
      benchmark::DoNotOptimize(data.bytes.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kCues);
}

void BM_PlainFilmCues(benchmark::State& state) {
  DrawFilm(state, PlainFilm());
}
BENCHMARK(BM_PlainFilmCues)->Unit(benchmark::kMillisecond);

void BM_StyledFilmCues(benchmark::State& state) {
  DrawFilm(state, StyledFilm());
}
BENCHMARK(BM_StyledFilmCues)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tesmora
