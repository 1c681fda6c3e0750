// Drawing costs: a two-line subtitle of about 35 characters a line at the
// default style (Arial 22, outline 3, PAL) drawn on the blue key frame and
// encoded, against drawing it by literal stamping; and a preview redraw on a
// photograph.
#include <benchmark/benchmark.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include "render/CodeFrameDrawing.h"
#include "render/CodeFrameRenderer.h"
#include "render/KeyFrameRenderer.h"
#include "sup/EncodeFields.h"
#include "tests/render/TwoLineEntry.h"

namespace tesmora {
namespace {

constexpr RoleColours kColours{qRgb(0, 0, 0), qRgb(85, 85, 85), qRgb(255, 255, 255)};
const QByteArray kLine1 = "I never thought I'd see this harbour";
const QByteArray kLine2 = "again, not after what happened here.";

QImage ImageOf(FrameBitmap& frame) {
  return QImage(frame.row(0), FrameBitmap::kWidth, frame.height(), FrameBitmap::kStride,
                QImage::Format_RGB888);
}

void BM_RenderFrameAndEncode(benchmark::State& state) {
  const SubtitleStyle style;
  KeyFrameRenderer renderer;
  const RoleKeyColours keys{{255, 255, 255}, {0, 0, 0}, {85, 85, 85}};
  const std::vector<CueToDraw> cues{{{kLine1.toStdString(), kLine2.toStdString()}}};
  for (auto _ : state) {
    const EncodeArea area = renderer.render(cues, TextSource{}, style, 3, kColours, 576);
    PixelData data = EncodeFields(renderer.frame(), *CutToFrame(area, 576), keys);
    benchmark::DoNotOptimize(data.bytes.data());
  }
}
BENCHMARK(BM_RenderFrameAndEncode)->Unit(benchmark::kMicrosecond);

// The same subtitle as the converter draws it: on a code frame, as one cue of
// two lines.
void BM_RenderCodeFrameAndEncode(benchmark::State& state) {
  const SubtitleStyle style;
  CodeFrameRenderer renderer;
  const RoleKeyColours keys{{255, 255, 255}, {0, 0, 0}, {85, 85, 85}};
  const RoleInks inks = InksOfRoleColours(kColours, keys);
  const std::vector<CueToDraw> cues{{{kLine1.toStdString(), kLine2.toStdString()}}};
  for (auto _ : state) {
    const EncodeArea area = renderer.render(cues, TextSource{}, style, 3, inks, 576);
    PixelData data = EncodeFields(renderer.frame(), *CutToFrame(area, 576));
    benchmark::DoNotOptimize(data.bytes.data());
  }
}
BENCHMARK(BM_RenderCodeFrameAndEncode)->Unit(benchmark::kMicrosecond);

// The same subtitle drawn the way its look is defined: (2w + 1)^2 outline
// stamps, 9 antialias stamps and 1 text stamp per line.
void BM_RenderFrameByLiteralStamping(benchmark::State& state) {
  const SubtitleStyle style;
  FrameBitmap frame(576);
  for (auto _ : state) {
    frame.fill(kPureBlue);
    const testing::TwoLineEntry subtitle = testing::PrepareTwoLineEntry(kLine1, kLine2, style);
    const SubtitleLayout layout = testing::PlaceTwoLineEntry(subtitle, style, 576);
    QImage image = ImageOf(frame);
    QPainter painter(&image);
    painter.setFont(subtitle.font);
    const int ascent = QFontMetrics(subtitle.font).ascent();
    for (const auto& [text, cell] :
         {std::pair{subtitle.line1, layout.cell1}, std::pair{subtitle.line2, layout.cell2}}) {
      for (const auto& [colour, reach] :
           {std::pair{kColours.outline, 3}, std::pair{kColours.antialias, 1},
            std::pair{kColours.text, 0}}) {
        painter.setPen(QColor::fromRgb(colour));
        for (int dx = -reach; dx <= reach; ++dx) {
          for (int dy = -reach; dy <= reach; ++dy) {
            painter.drawText(QPoint(cell.x() + dx, cell.y() + dy + ascent), text);
          }
        }
      }
    }
    benchmark::DoNotOptimize(frame.row(0));
  }
}
BENCHMARK(BM_RenderFrameByLiteralStamping)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tesmora

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
