// The window's costs: a preview redraw, start-up, and a generation run: 1,500 two-line subtitles of
// about 35 characters a line at the default style, PAL, with the window shown and the preview
// repainted as the run lets the event loop work between subtitles.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "app/TForm1.h"
#include "bench/SilentPlatform.h"

namespace tesmora {
namespace {

// A preview redraw at the default style: background reload, width check and
// drawing of the two sample lines, as a slider drag triggers it.
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

void BM_WindowGenerationRun(benchmark::State& state) {
  QTemporaryDir folder;
  bench::SilentPlatform platform;
  TForm1 form(platform);
  form.show();
  form.i_dont_have_ifo->setChecked(true);
  form.OpenDialog2.fileName = folder.filePath(QStringLiteral("film.srt"));
  for (int i = 0; i < 1500; ++i) {
    SubtitleEntry cue{i * 4000LL,
                      3000,
                      {"Cue " + std::to_string(i) + ": the harbour lights came on",
                       "and nobody on the quay said a word."}};
    form.Memo2->lines() << QByteArray::number(cue.startMs);
    form.Memo3->lines() << QByteArray::number(cue.durationMs);
    form.Memo4->lines() << QByteArray::fromStdString(std::string(cue.line1()));
    form.Memo5->lines() << QByteArray::fromStdString(std::string(cue.line2()));
    form.LoadedCues.push_back(std::move(cue));
  }
  form.SubtitlesLoaded = true;
  for (auto _ : state) {
    form.Button3Click();
  }
  if (!platform.errors.isEmpty()) {
    state.SkipWithError(platform.errors.first().toStdString().c_str());
  }
}
BENCHMARK(BM_WindowGenerationRun)->Unit(benchmark::kSecond)->Iterations(2);

// Window start-up: the main window built with its defaults and font list,
// shown, and its first events handled (the preview background loaded).
void BM_WindowStartUp(benchmark::State& state) {
  bench::SilentPlatform platform;
  for (auto _ : state) {
    TForm1 form(platform);
    form.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(form.preview->picture().constBits());
  }
}
BENCHMARK(BM_WindowStartUp)->Unit(benchmark::kMillisecond);

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
