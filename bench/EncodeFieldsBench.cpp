// Throughput of the subpicture encoder on a band shaped like a drawn two-line
// subtitle: two text rows of glyph strokes, each stroke ringed by antialias
// and outline pixels, centred on blue key rows.
#include <benchmark/benchmark.h>

#include <random>

#include "sup/EncodeFields.h"

namespace tesmora {
namespace {

constexpr RoleKeyColours kKeys{{235, 235, 235}, {16, 16, 16}, {125, 125, 125}};
constexpr EncodeArea kBand{480, 80};

void DrawStroke(FrameBitmap& frame, int y, int x, int width) {
  const int outline = 3;
  for (int i = -outline - 1; i < width + outline + 1; ++i) {
    Rgb colour = kKeys.outline;
    if (i < -outline || i >= width + outline) {
      continue;
    }
    if (i == -1 || i == width) {
      colour = kKeys.antialias;
    } else if (i >= 0 && i < width) {
      colour = kKeys.text;
    }
    frame.setPixel(x + i, y, colour);
  }
}

FrameBitmap TwoLineSubtitleFrame() {
  FrameBitmap frame(576);
  std::mt19937 random(7);
  // Line 1 on rows 484-518, line 2 on rows 522-556; glyph strokes of 1-4
  // pixels, about 11 pixels apart, across a 460-pixel line.
  for (int top : {484, 522}) {
    for (int y = top; y < top + 34; ++y) {
      for (int x = 140; x < 580; x += 9 + static_cast<int>(random() % 5)) {
        if (random() % 4 != 0) {
          DrawStroke(frame, y, x, 1 + static_cast<int>(random() % 4));
        }
      }
    }
  }
  return frame;
}

void BM_EncodeFieldsTwoLineBand(benchmark::State& state) {
  const FrameBitmap frame = TwoLineSubtitleFrame();
  for (auto _ : state) {
    PixelData data = EncodeFields(frame, kBand, kKeys);
    benchmark::DoNotOptimize(data.bytes.data());
  }
  const auto pixels = static_cast<std::int64_t>(kBand.lineCount) * FrameBitmap::kWidth;
  state.SetItemsProcessed(state.iterations() * pixels);
  state.counters["band_pixels_per_s"] = benchmark::Counter(
      static_cast<double>(pixels), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeFieldsTwoLineBand);

// The same picture as a code frame: each pixel's ink is its colour's code.
CodeFrame TwoLineSubtitleCodes() {
  const FrameBitmap frame = TwoLineSubtitleFrame();
  CodeFrame codes(frame.height());
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < FrameBitmap::kWidth; ++x) {
      codes.setInk(x, y, static_cast<unsigned>(ClassifyPixel(frame.pixel(x, y), kKeys)));
    }
  }
  return codes;
}

void BM_EncodeFieldsTwoLineBandCodeFrame(benchmark::State& state) {
  const CodeFrame codes = TwoLineSubtitleCodes();
  for (auto _ : state) {
    PixelData data = EncodeFields(codes, kBand);
    benchmark::DoNotOptimize(data.bytes.data());
  }
  const auto pixels = static_cast<std::int64_t>(kBand.lineCount) * FrameBitmap::kWidth;
  state.SetItemsProcessed(state.iterations() * pixels);
  state.counters["band_pixels_per_s"] = benchmark::Counter(
      static_cast<double>(pixels), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeFieldsTwoLineBandCodeFrame);

void BM_EncodeFieldsBlankBand(benchmark::State& state) {
  const FrameBitmap frame(576);
  for (auto _ : state) {
    PixelData data = EncodeFields(frame, kBand, kKeys);
    benchmark::DoNotOptimize(data.bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * kBand.lineCount * FrameBitmap::kWidth);
}
BENCHMARK(BM_EncodeFieldsBlankBand);

}  // namespace
}  // namespace tesmora
