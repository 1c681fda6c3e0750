// The window's costs: a preview redraw, start-up, and a generation run: 1,500 two-line subtitles of
// about 35 characters a line at the default style, PAL, with the window shown and the preview
// repainted as the run lets the event loop work between subtitles.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
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
  // A run reads the loaded file again, so the cues are written as one.
  const auto srtTime = [](long long ms) {
    return QString::asprintf("%02lld:%02lld:%02lld,%03lld", ms / 3'600'000, ms / 60'000 % 60,
                             ms / 1000 % 60, ms % 1000);
  };
  QString srt;
  for (int i = 0; i < 1500; ++i) {
    SubtitleEntry cue{i * 4000LL,
                      3000,
                      {"Cue " + std::to_string(i) + ": the harbour lights came on",
                       "and nobody on the quay said a word."}};
    srt += QString::number(i + 1) + "\n" + srtTime(cue.startMs) + " --> " +
           srtTime(cue.startMs + cue.durationMs) + "\n" +
           QString::fromStdString(std::string(cue.line1())) + "\n" +
           QString::fromStdString(std::string(cue.line2())) + "\n\n";
    form.LoadedCues.push_back(std::move(cue));
  }
  QFile file(form.OpenDialog2.fileName);
  if (!file.open(QIODevice::WriteOnly) || file.write(srt.toUtf8()) < 0) {
    state.SkipWithError("the film could not be written");
    return;
  }
  file.close();
  form.LoadedPath = form.OpenDialog2.fileName;
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
