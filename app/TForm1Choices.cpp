// The controls of how a subtitle file is read and what a run writes besides
// the style: they sit above the subtitle list and hold the same choices as
// the converter's options.
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>
#include <iterator>

#include "app/TForm1.h"
#include "app/WindowFit.h"
#include "timing/TimeChange.h"

namespace tesmora {
namespace {

template <typename Control>
Control* PlaceChoice(Control* control, const char* name, int x, int y, int width, int height) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(x, y, width, height);
  return control;
}

QLabel* ChoiceLabel(QWidget* parent, const char* name, const QString& text, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->adjustSize();
  label->move(kChoicesLeft, y + 3);
  return label;
}

QCheckBox* ChoiceBox(QWidget* parent, const char* name, const QString& text, int y) {
  return PlaceChoice(new QCheckBox(text, parent), name, kChoicesLeft, y, kChoicesWidth, 17);
}

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

void TForm1::createChoiceControls() {
  constexpr int kFieldLeft = kChoicesLeft + 64;
  constexpr int kFieldWidth = kChoicesLeft + kChoicesWidth - kFieldLeft;
  LabelEncoding = ChoiceLabel(this, "LabelEncoding", QStringLiteral("Encoding"), 92);
  ComboBoxEncoding =
      PlaceChoice(new QComboBox(this), "ComboBoxEncoding", kFieldLeft, 92, kFieldWidth, 18);
  for (const std::string& encoding : OfferedEncodings()) {
    ComboBoxEncoding->addItem(encoding == "auto" ? QStringLiteral("Auto") : Text(encoding));
  }
  ComboBoxEncoding->setToolTip(
      QStringLiteral("How the subtitle file's text is read; a change reads the loaded file again"));
  CheckBoxTagsAsText =
      ChoiceBox(this, "CheckBoxTagsAsText", QStringLiteral("Draw tags as text"), 111);
  CheckBoxTagsAsText->setToolTip(QStringLiteral("Draw the text exactly as written, tags included"));
  CheckBoxWrap = ChoiceBox(this, "CheckBoxWrap", QStringLiteral("Wrap long lines"), 128);
  CheckBoxWrap->setToolTip(QStringLiteral(
      "Break a line too wide for the frame where lines may break (spaces, between CJK "
      "characters)"));
  CheckBoxStylesFromFile =
      ChoiceBox(this, "CheckBoxStylesFromFile", QStringLiteral("Styles from the file"), 145);
  CheckBoxStylesFromFile->setToolTip(QStringLiteral(
      "Draw ASS and SSA subtitles in their own fonts, sizes and places; unticked, all in the "
      "style chosen here"));
  CheckBoxStylesFromFile->setChecked(true);
  LabelShift = ChoiceLabel(this, "LabelShift", QStringLiteral("Shift ms"), 162);
  SpinBoxShift = PlaceChoice(new QSpinBox(this), "SpinBoxShift", kFieldLeft, 162, kFieldWidth, 18);
  SpinBoxShift->setRange(-86'400'000, 86'400'000);
  SpinBoxShift->setToolTip(QStringLiteral("Milliseconds added to every time"));
  LabelConvertFps = ChoiceLabel(this, "LabelConvertFps", QStringLiteral("Convert fps"), 181);
  EditConvertFps =
      PlaceChoice(new QLineEdit(this), "EditConvertFps", kFieldLeft, 181, kFieldWidth, 18);
  EditConvertFps->setPlaceholderText(QStringLiteral("FROM:TO"));
  EditConvertFps->setToolTip(QStringLiteral("Two frame rates FROM:TO such as 23.976:25, or empty"));
  // The target heads the outputs: it decides which of them apply.
  LabelTarget = ChoiceLabel(this, "LabelTarget", QStringLiteral("Target"), 200);
  // Wider than the other fields, so that "Blu-ray 1080" shows whole.
  constexpr int kTargetLeft = kChoicesLeft + 44;
  ComboBoxTarget = PlaceChoice(new QComboBox(this), "ComboBoxTarget", kTargetLeft, 200,
                               kChoicesLeft + kChoicesWidth - kTargetLeft, 18);
  for (const TargetChoice& target : OfferedTargets()) {
    ComboBoxTarget->addItem(QString::fromLatin1(target.caption));
  }
  ComboBoxTarget->setToolTip(
      QStringLiteral("The disc the subtitles are for: a DVD subpicture stream, or a Blu-ray "
                     "stream (NAME.sup) for video of 1080 or 720 lines drawn as players draw "
                     "styled text"));
  // The row of the outputs besides NAME.sup: the DVD's VobSub pair and
  // palette.
  CheckBoxVobSub = ChoiceBox(this, "CheckBoxVobSub", QStringLiteral("Also VobSub, .rgb"), 220);
  CheckBoxVobSub->setToolTip(
      QStringLiteral("Also write VobSub (NAME.idx, NAME.sub) and a dvdauthor palette (NAME.rgb)"));
  // The rows of a Blu-ray target: what it writes, and at which rate and in
  // which colours.
  LabelBluRayFiles = ChoiceLabel(this, "LabelBluRayFiles", QStringLiteral("Files"), 238);
  ComboBoxBluRayFiles = PlaceChoice(new QComboBox(this), "ComboBoxBluRayFiles", kChoicesLeft + 30,
                                    238, kChoicesWidth - 30, 18);
  for (const BluRayFormsChoice& forms : OfferedBluRayForms()) {
    ComboBoxBluRayFiles->addItem(QString::fromLatin1(forms.caption));
  }
  ComboBoxBluRayFiles->setToolTip(QStringLiteral(
      "The Blu-ray stream (NAME.sup), BDN XML (NAME.xml with a PNG picture for each subtitle) "
      "for authoring suites, or both from one drawing"));
  LabelVideoRate = ChoiceLabel(this, "LabelVideoRate", QStringLiteral("Fps"), 256);
  ComboBoxVideoRate =
      PlaceChoice(new QComboBox(this), "ComboBoxVideoRate", kChoicesLeft + 30, 256, 62, 18);
  ComboBoxVideoRate->setToolTip(
      QStringLiteral("The frame rate of the Blu-ray video; the first is the usual one"));
  CheckBoxHdr = PlaceChoice(new QCheckBox(QStringLiteral("HDR"), this), "CheckBoxHdr",
                            kChoicesLeft + 96, 256, kChoicesWidth - 96, 17);
  CheckBoxHdr->setToolTip(QStringLiteral(
      "Colours for HDR10 video (BT.2020, PQ), white at 203 nits; the stream only, not BDN XML"));
  // The style of an ASS or SSA file whose subtitles alone are forced; the
  // empty item picks none.
  LabelForcedStyle = ChoiceLabel(this, "LabelForcedStyle", QStringLiteral("Forced style"), 274);
  ComboBoxForcedStyle =
      PlaceChoice(new QComboBox(this), "ComboBoxForcedStyle", kFieldLeft, 274, kFieldWidth, 18);
  ComboBoxForcedStyle->setEditable(true);
  ComboBoxForcedStyle->setInsertPolicy(QComboBox::NoInsert);
  ComboBoxForcedStyle->addItem(QString());
  ComboBoxForcedStyle->setToolTip(QStringLiteral(
      "The style of the ASS or SSA file whose subtitles are shown even when the player's "
      "subtitles are off; empty: none"));
  CheckBoxForced = ChoiceBox(this, "CheckBoxForced", QStringLiteral("Forced subtitles"), 292);
  CheckBoxForced->setToolTip(
      QStringLiteral("Every subtitle is shown even when the player's subtitles are off"));
  LabelOutputName = ChoiceLabel(this, "LabelOutputName", QStringLiteral("Name"), 310);
  EditOutputName = PlaceChoice(new QLineEdit(QString::fromLatin1(kDefaultOutputName), this),
                               "EditOutputName", kFieldLeft, 310, kFieldWidth, 18);
  EditOutputName->setToolTip(QStringLiteral("The name of the written files, before .sup"));
  ShowVideoRates(DiscTarget::BluRay1080, {});
  ShowBluRayChoices();
}

void TForm1::ShowVideoRates(DiscTarget target, const std::string& rate) {
  const QSignalBlocker quiet(ComboBoxVideoRate);
  // For the DVD the list stays as the last Blu-ray video's, disabled.
  if (IsBluRay(target)) {
    ComboBoxVideoRate->clear();
    for (const std::string& offered : OfferedVideoRates(target)) {
      ComboBoxVideoRate->addItem(Text(offered));
    }
  }
  ComboBoxVideoRate->setCurrentIndex(std::max(0, ComboBoxVideoRate->findText(Text(rate))));
}

void TForm1::ShowBluRayChoices() {
  const bool bluRay = BluRayChosen();
  LabelBluRayFiles->setEnabled(bluRay);
  ComboBoxBluRayFiles->setEnabled(bluRay);
  LabelVideoRate->setEnabled(bluRay);
  ComboBoxVideoRate->setEnabled(bluRay);
  // BDN pictures are PNGs in plain RGB; a ticked box stays enabled so that
  // it can be unticked.
  const bool bdn = WritesBdn(CurrentChoices().bluRayForms);
  CheckBoxHdr->setEnabled(bluRay && (!bdn || CheckBoxHdr->isChecked()));
  // Only a script drawn in its own styles has styles to force.
  const bool ownStyles = bluRay && CheckBoxStylesFromFile->isChecked();
  LabelForcedStyle->setEnabled(ownStyles);
  ComboBoxForcedStyle->setEnabled(ownStyles);
}

void TForm1::ShowForcedStyles(const std::vector<std::string>& styles) {
  const QString chosen = ComboBoxForcedStyle->currentText();
  const QSignalBlocker quiet(ComboBoxForcedStyle);
  ComboBoxForcedStyle->clear();
  ComboBoxForcedStyle->addItem(QString());
  for (const std::string& style : styles) {
    ComboBoxForcedStyle->addItem(Text(style));
  }
  ComboBoxForcedStyle->setCurrentText(chosen);
}

ConversionChoices TForm1::CurrentChoices() const {
  ConversionChoices choices;
  const int encoding = ComboBoxEncoding->currentIndex();
  choices.encoding = OfferedEncodings().at(static_cast<std::size_t>(std::max(encoding, 0)));
  choices.noMarkup = CheckBoxTagsAsText->isChecked();
  choices.wrap = CheckBoxWrap->isChecked();
  choices.styles = CheckBoxStylesFromFile->isChecked() ? CueStyles::File : CueStyles::Window;
  choices.shiftMs = SpinBoxShift->value();
  choices.rateConversion = EditConvertFps->text().trimmed().toStdString();
  choices.vobsubAndPalette = CheckBoxVobSub->isChecked();
  choices.forced = CheckBoxForced->isChecked();
  choices.outputName = EditOutputName->text().toStdString();
  choices.target = CurrentTarget();
  const int forms = ComboBoxBluRayFiles->currentIndex();
  choices.bluRayForms = OfferedBluRayForms().at(static_cast<std::size_t>(std::max(forms, 0))).forms;
  // The first rate listed is the video's usual one, which the converter
  // takes when none is given. While the DVD is chosen the list holds the
  // last Blu-ray video's rate, so that it outlasts a save of the settings.
  if (ComboBoxVideoRate->currentIndex() > 0) {
    choices.videoRate = ComboBoxVideoRate->currentText().toStdString();
  }
  choices.hdr = CheckBoxHdr->isChecked();
  // Held while the DVD is chosen, whose run has no use for it.
  choices.forcedStyle = ComboBoxForcedStyle->currentText().toStdString();
  return choices;
}

void TForm1::ShowChoices(const ConversionChoices& choices) {
  const auto& offered = OfferedEncodings();
  for (std::size_t n = 0; n < offered.size(); ++n) {
    if (QString::compare(Text(offered[n]), Text(choices.encoding), Qt::CaseInsensitive) == 0) {
      ComboBoxEncoding->setCurrentIndex(static_cast<int>(n));
    }
  }
  CheckBoxTagsAsText->setChecked(choices.noMarkup);
  CheckBoxWrap->setChecked(choices.wrap);
  CheckBoxStylesFromFile->setChecked(choices.styles == CueStyles::File);
  SpinBoxShift->setValue(static_cast<int>(
      std::clamp<long long>(choices.shiftMs, SpinBoxShift->minimum(), SpinBoxShift->maximum())));
  EditConvertFps->setText(Text(choices.rateConversion));
  CheckBoxVobSub->setChecked(choices.vobsubAndPalette);
  CheckBoxForced->setChecked(choices.forced);
  EditOutputName->setText(Text(choices.outputName));
  ComboBoxTarget->setCurrentIndex(static_cast<int>(std::distance(
      OfferedTargets().begin(), std::find_if(OfferedTargets().begin(), OfferedTargets().end(),
                                             [&choices](const TargetChoice& target) {
                                               return target.target == choices.target;
                                             }))));
  ComboBoxBluRayFiles->setCurrentIndex(static_cast<int>(
      std::distance(OfferedBluRayForms().begin(),
                    std::find_if(OfferedBluRayForms().begin(), OfferedBluRayForms().end(),
                                 [&choices](const BluRayFormsChoice& forms) {
                                   return forms.forms == choices.bluRayForms;
                                 }))));
  ShowVideoRates(choices.target, choices.videoRate);
  CheckBoxHdr->setChecked(choices.hdr);
  ComboBoxForcedStyle->setCurrentText(Text(choices.forcedStyle));
  ShowBluRayChoices();
}

ConversionChoices TForm1::ChoicesForLoad(const QString& path) const {
  ConversionChoices choices = CurrentChoices();
  const auto same = [](const QString& a, const QString& b) {
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
  };
  if (!filmFile_.isEmpty() && !same(filmFile_, path)) {
    const ConversionChoices defaults;
    choices.shiftMs = defaults.shiftMs;
    choices.rateConversion = defaults.rateConversion;
    choices.forcedStyle = defaults.forcedStyle;
  }
  return choices;
}

void TForm1::KeepFilmChoices(const QString& path, const ConversionChoices& used) {
  filmFile_ = path;
  // What the controls show now is what the loaded cues were read with, so
  // their change handlers have nothing to redo.
  const QSignalBlocker quietShift(SpinBoxShift);
  const QSignalBlocker quietRate(EditConvertFps);
  SpinBoxShift->setValue(static_cast<int>(
      std::clamp<long long>(used.shiftMs, SpinBoxShift->minimum(), SpinBoxShift->maximum())));
  EditConvertFps->setText(Text(used.rateConversion));
  ComboBoxForcedStyle->setCurrentText(Text(used.forcedStyle));
}

}  // namespace tesmora
