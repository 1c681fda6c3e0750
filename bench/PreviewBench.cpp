// A preview redraw at the default style: background reload, width check and
// drawing of the two sample lines, as a slider drag triggers it.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/TForm1.h"
#include "bench/SilentPlatform.h"

namespace tesmora {
namespace {

void BM_PreviewRedraw(benchmark::State& state) {
  bench::SilentPlatform platform;
  TForm1 form(platform);
  form.i_dont_have_ifo->setChecked(true);  // the generic palette
  for (auto _ : state) {
    form.RenderPreview("Lorvanto.", "Vessa Morane.", form.CurrentStyle());
    benchmark::DoNotOptimize(form.preview->picture().constBits());
  }
}
BENCHMARK(BM_PreviewRedraw)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tesmora

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
