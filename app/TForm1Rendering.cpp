// The window's side of drawing subtitles: reading the style from the
// controls, the preview with its width check, the key frame of a generation
// run, and the line-fit check of the loaded subtitles. The preview sample,
// the loaded cues and the key frames all go through the cue drawing.
#include "app/StrToInt.h"
#include "app/TForm1.h"
#include "render/CueDrawing.h"
#include "render/CueLayout.h"
#include "render/SubtitleFont.h"
#include "render/UnfitCueMessage.h"
#include "subtitles/TextDecoder.h"

namespace tesmora {

SubtitleStyle TForm1::CurrentStyle() const {
  SubtitleStyle style;
  style.fontName = ComboBox5->currentText();
  style.size = StrToInt(ComboBox6->currentText());
  style.charset = CharsetFromName(ComboBox7->currentText());
  style.style = StyleFromName(ComboBox8->currentText());
  style.align = ComboBoxAlign->currentText();
  style.offset = offset->value();
  style.offsetOr = offset_or->value();
  return style;
}

int TForm1::FrameHeight() const {
  return Ntsc->isChecked() ? 480 : 576;
}

int TForm1::CurrentOutlineWidth() const {
  return StrToInt(ComboBoxOutlineWidth->currentText());
}

RoleColours TForm1::CurrentRoleColours() const {
  const auto colourOf = [this](const QComboBox* role) {
    const Rgb rgb = palette_[static_cast<std::size_t>(RolePaletteIndex(role->currentText()))].rgb;
    return qRgb(rgb.r, rgb.g, rgb.b);
  };
  return {colourOf(ComboBox2), colourOf(ComboBox1), colourOf(ComboBox3)};
}

void TForm1::RenderPreview(const QByteArray& line1, const QByteArray& line2,
                           const SubtitleStyle& style) {
  // The sample is drawn as written, its bytes read in the style's charset
  // as a file's would be.
  const TextDecoder decoder(style.charset);
  const TextSource literal{MarkupDialect::Literal, false, style.charset == charset::kSymbol};
  RenderPreviewCue({decoder.decode(line1.toStdString()), decoder.decode(line2.toStdString())},
                   literal, style);
}

void TForm1::RenderCueFrame(std::span<const CueToDraw> cues, const SubtitleStyle& style) {
  const int height = Ntsc->isChecked() ? 480 : 576;
  // The preview stands for the whole frame, shown smaller on a small screen.
  SetPreviewFrame(QSize(FrameBitmap::kWidth, height));
  encodeArea_ = keyFrames_.render(cues, LoadedSource, style, CurrentOutlineWidth(),
                                  CurrentRoleColours(), height);
  preview->setPicture(keyFrames_.image());
}

void TForm1::RenderPreviewCue(const std::vector<std::string>& lines, const SubtitleStyle& style) {
  RenderPreviewCue(lines, LoadedSource, style);
}

void TForm1::RenderPreviewCue(const std::vector<std::string>& lines, const TextSource& source,
                              const SubtitleStyle& style, const CuePlacement& placement) {
  LoadPreviewBackground();
  const PreparedCue cue = PrepareCue(lines, source, style, placement);
  if (!cue.fitsWidth()) {
    const QStringList plain = cue.plainLines();
    platform_.showMessage(plain.size() <= 2 ? TooLongMessage(plain.value(0), plain.value(1))
                                            : OverlongCueMessage(plain, true));
    AllLinesFit = false;
    return;
  }
  AllLinesFit = true;
  // Placed in the frame the preview stands for, whatever size it is shown at.
  const CuesLayout layout = PlaceCues(std::span(&cue, 1), style, preview->frameSize().height());
  DrawCues(preview->pictureForDrawing(), layout, style, CurrentOutlineWidth(), CurrentRoleColours(),
           &previewGlyphs_);
}

void TForm1::CheckCueFits(const SubtitleEntry& entry, std::size_t number,
                          const SubtitleStyle& style) {
  const PreparedCue cue =
      PrepareCueInItsFont(entry.lines, entry.look, LoadedSource, style, FrameHeight());
  const std::optional<CueFault> fault = FaultOf(cue, style, FrameHeight());
  if (!fault) {
    AllLinesFit = true;
    return;
  }
  AllLinesFit = false;
  if (!SubtitlesLoaded) {
    ListBox1->clear();
  }
  platform_.showMessage(
      UnfitCueMessage(cue, *fault, number, SubtitlesLoaded,
                      LoadedSource.wrap ? WrapAdvice::None : WrapAdvice::WrapBox));
}

void TForm1::CheckAllSubtitleLines() {
  // The cues are measured on the workers; only the first that does not fit
  // is told, once.
  if (PaletteReady && !BluRayChosen() && AllLinesFit && !LoadedCues.empty()) {
    const SubtitleStyle style = CurrentStyle();
    if (const std::optional<UnfitCue> unfit =
            FirstUnfitCue(LoadedCues, LoadedSource, style, FrameHeight(), GenerationWorkers)) {
      CheckCueFits(LoadedCues[unfit->position], unfit->position + 1, style);
    }
  }
  if (AllLinesFit && !FrameRateMissing) {
    platform_.showMessage(QStringLiteral("Subtitle Style Modified/Loaded Successfully"));
    Edit2->setText(OpenDialog2.fileName);
    Edit2->setToolTip(LoadedEncoding.isEmpty()
                          ? QStringLiteral("Read in the code page of the Font Charset")
                          : QStringLiteral("Read as ") + LoadedEncoding);
    SubtitlesLoaded = true;
  }
}

}  // namespace tesmora
