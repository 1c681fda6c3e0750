// The live preview: redraws after every change of a style control.
#include "app/TForm1.h"
#include "subtitles/TextDecoder.h"

namespace tesmora {
namespace {

const QByteArray kSampleLine1 = "Lorvanto.";
const QByteArray kSampleLine2 = "Vessa Morane";
// How long the sample is shown for, in a Blu-ray preview.
constexpr long long kSampleMs = 2000;

}  // namespace

void TForm1::RedrawPreviewSample(const QByteArray& line1, const QByteArray& line2) {
  if (BluRayChosen()) {
    // As written, in the charset's code page, as on the DVD.
    const SubtitleStyle style = CurrentStyle();
    const TextDecoder decoder(style.charset);
    RenderHdPreviewCue({decoder.decode(line1.toStdString()), decoder.decode(line2.toStdString())},
                       CuePlacement{}, TextSource{MarkupDialect::Literal, false, false}, kSampleMs);
    return;
  }
  RenderPreview(line1, line2, CurrentStyle());
}

void TForm1::RedrawPreviewSelected() {
  const qsizetype k = ListBox1->currentRow();
  const bool loaded = k >= 0 && static_cast<std::size_t>(k) < LoadedCues.size();
  if (BluRayChosen()) {
    if (loaded) {
      const SubtitleEntry& cue = LoadedCues[static_cast<std::size_t>(k)];
      RenderHdPreviewCue(cue.lines.toVector(), cue.look.placement, LoadedSource, cue.durationMs);
    }
    return;
  }
  if (!loaded) {
    RenderPreviewCue({}, CurrentStyle());
    return;
  }
  const SubtitleEntry& cue = LoadedCues[static_cast<std::size_t>(k)];
  // A cue of a file with styles of its own is shown in its font.
  RenderPreviewCue(cue.lines.toVector(), LoadedSource,
                   cue.look.font == CueFont{}
                       ? CurrentStyle()
                       : StyleOfCueFont(CurrentStyle(), cue.look.font, FrameHeight()),
                   cue.look.placement);
}

bool TForm1::StyleRedraw() {
  if (ColoursReady()) {
    RedrawPreviewSample(kSampleLine1, kSampleLine2);
  }
  if (ColoursReady() && SubtitlesLoaded) {
    RedrawPreviewSelected();
    return true;
  }
  return false;
}

void TForm1::offsetChange() {
  StyleRedraw();
  LabelOffset->setText(QString::number(offset->value()));
  LabelOffset->adjustSize();
}

void TForm1::offset_orChange() {
  if (offset_or->value() % 2 != 0) {
    // Moving to the even position above runs this handler again, nested; that
    // run redraws and shows its errors, so this one has nothing left to do.
    offset_or->setValue(offset_or->value() + 1);
    return;
  }
  StyleRedraw();
  LabelOffset_Or->setText(QString::number(offset_or->value()));
  LabelOffset_Or->adjustSize();
}

void TForm1::ComboBox6Change() {
  if (StyleRedraw()) {
    setWindowTitle(QStringLiteral("Tesmora By Ovandel Checking Subtitle Length..."));
    CheckAllSubtitleLines();
    setWindowTitle(QStringLiteral("Tesmora By Ovandel"));
  }
}

void TForm1::ComboBox7Change() {
  if (SubtitlesLoaded && LoadedEncoding.isEmpty()) {
    // The charset picks the code page an 8-bit file is read in: the file is
    // read again, and the list and the preview show the new reading.
    ReadingChoiceChange();
    return;
  }
  StyleRedraw();
}

}  // namespace tesmora
