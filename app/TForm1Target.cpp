// The target choice: the DVD subpicture stream or a Blu-ray stream, the
// controls that apply to each, and the preview of a Blu-ray cue as libass
// draws it.
#include <initializer_list>

#include "app/HdPreview.h"
#include "app/TForm1.h"
#include "conversion/PgsRun.h"

namespace tesmora {
namespace {

// The Blu-ray frame shown as wide as the DVD frame, at its own proportions.
QSize ShownHdFrame(const HdTarget& target) {
  return {720, 720 * target.height / target.width};
}

}  // namespace

DiscTarget TForm1::CurrentTarget() const {
  const int index = ComboBoxTarget->currentIndex();
  const auto& offered = OfferedTargets();
  return index >= 0 && static_cast<std::size_t>(index) < offered.size()
             ? offered[static_cast<std::size_t>(index)].target
             : DiscTarget::Dvd;
}

void TForm1::ComboBoxTargetChange() {
  const bool bluRay = BluRayChosen();
  // The Blu-ray stream takes no IFO, no colour roles (its text and outline
  // are the generic palette's) and no line gap (libass spaces the lines),
  // and writes none of the DVD's other outputs.
  for (QWidget* control :
       std::initializer_list<QWidget*>{i_dont_have_ifo, ComboBox1, ComboBox2, ComboBox3, ComboBox4,
                                       offset_or, CheckBoxVobSub}) {
    control->setEnabled(!bluRay);
  }
  // Whether the IFO button and the standard apply on the DVD depends on the
  // palette's history, so their state is kept and given back.
  if (bluRay && dvdOnlyStates_.empty()) {
    for (QWidget* control : std::initializer_list<QWidget*>{Button1, Pal, Ntsc}) {
      dvdOnlyStates_.emplace_back(control, control->isEnabled());
      control->setEnabled(false);
    }
  } else if (!bluRay) {
    for (const auto& [control, enabled] : dvdOnlyStates_) {
      control->setEnabled(enabled);
    }
    dvdOnlyStates_.clear();
  }
  ShowVideoRates(CurrentTarget(), ComboBoxVideoRate->currentText().toStdString());
  ShowBluRayChoices();
  LoadPreviewBackground();
  StyleRedraw();
  FrameRateChoiceChange();
}

void TForm1::RenderHdPreviewCue(const std::vector<std::string>& lines,
                                const CuePlacement& placement, const TextSource& source,
                                long long durationMs) {
  const std::optional<PgsVideo> video = BluRayVideoOf(CurrentChoices());
  if (!video) {
    return;
  }
  const HdTarget& frame = video->target;
  const std::vector<RgbaRegion> regions =
      HdCueRegions(lines, placement, source, durationMs,
                   BluRayStyleOf(CurrentStyle(), CurrentOutlineWidth()), frame);
  // The background of the standard shown, at the frame's size.
  LoadPreviewBackground();
  const QImage background = preview->picture();
  SetPreviewFrame(ShownHdFrame(frame));
  preview->setPicture(HdPreviewPicture(background, QSize(frame.width, frame.height), regions));
}

}  // namespace tesmora
