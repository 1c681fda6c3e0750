// The generation run: the loaded film read again with the choices in force,
// checked whole before anything is written, then drawn and encoded on the
// workers while the window shows the progress and can stop it.
#include <QKeyEvent>

#include "app/TForm1.h"
#include "conversion/BluRayRun.h"
#include "conversion/PgsRun.h"
#include "conversion/RunReports.h"
#include "files/FileAccess.h"
#include "files/FileNames.h"
#include "files/OverwrittenInput.h"
#include "subtitles/SubtitleFile.h"

namespace tesmora {
namespace {

// Every control that could start a load, another run, or change the style
// or the palette is disabled while a run is in progress, and given back its
// state afterwards, also when the run ends with an error.
class ControlsFrozen {
 public:
  explicit ControlsFrozen(const std::vector<QWidget*>& controls) {
    for (QWidget* control : controls) {
      frozen_.push_back({control, control->isEnabled()});
      control->setEnabled(false);
    }
  }
  ~ControlsFrozen() {
    for (const auto& [control, enabled] : frozen_) {
      control->setEnabled(enabled);
    }
  }
  ControlsFrozen(const ControlsFrozen&) = delete;
  ControlsFrozen& operator=(const ControlsFrozen&) = delete;

 private:
  std::vector<std::pair<QWidget*, bool>> frozen_;
};

// Marks a generation run as in progress while it lives, with the run's
// button reading "Cancel" and the progress showing "N / total", also when
// the run ends with an error.
class GenerationInProgress {
 public:
  GenerationInProgress(bool& flag, QPushButton* button, QProgressBar* progress, int count)
      : flag_(flag), button_(button), caption_(button->text()), progress_(progress) {
    flag_ = true;
    button_->setText(QStringLiteral("Cancel"));
    progress_->setRange(0, count);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v / %m"));
    progress_->setTextVisible(true);
  }
  ~GenerationInProgress() {
    flag_ = false;
    button_->setText(caption_);
    progress_->setTextVisible(false);
  }
  GenerationInProgress(const GenerationInProgress&) = delete;
  GenerationInProgress& operator=(const GenerationInProgress&) = delete;

 private:
  bool& flag_;
  QPushButton* button_;
  QString caption_;
  QProgressBar* progress_;
};

// The files of a run and its help text.
struct RunOutputs {
  RunTarget target;
  std::vector<std::string> written;  // as the help text lists them, the help file last
  std::vector<HelpCase> helpCases;   // the closing messages shown; the help file holds the last
};

// Refuses a run whose outputs `written` (the help file's path last, which
// is written only when `withHelp`) would replace one of the subtitle files
// `subtitlePaths` (the loaded one, and the one last chosen): a MicroDVD
// film.sub named like the VobSub pair's .sub, a .txt named like the help
// file, or either through a link.
void RefuseOverwritingTheSubtitleFile(const QStringList& subtitlePaths,
                                      const std::vector<std::string>& written, bool withHelp) {
  QStringList paths;
  for (const std::string& path : written) {
    paths << FileNameText(QByteArray::fromStdString(path));
  }
  const QString helpFile = paths.takeLast();
  if (withHelp) {
    paths << helpFile;
  }
  const std::optional<OverwrittenInput> overwritten = FindOverwrittenInput(subtitlePaths, paths);
  if (!overwritten) {
    return;
  }
  const QString wayOut = overwritten->output == helpFile
                             ? QStringLiteral("give the subtitle file another name")
                             : QStringLiteral("choose another Name");
  throw PlatformError(QStringLiteral("The subtitle file ") + overwritten->input +
                      QStringLiteral(" would be overwritten by the output ") + overwritten->output +
                      QStringLiteral("; ") + wayOut);
}

// The help cases of a run, by how its palette came about: the closing
// messages shown, the help file holding the last.
std::vector<HelpCase> HelpCasesOf(bool noIfoTicked, bool noIfoChosen, bool monochromeIfo) {
  std::vector<HelpCase> cases;
  if (noIfoChosen && noIfoTicked) {
    cases.push_back(HelpCase::NoIfo);
  }
  if (monochromeIfo && noIfoTicked) {
    cases.push_back(HelpCase::MonocromaticIfo);
  }
  if (!noIfoTicked) {
    cases.push_back(HelpCase::WithIfo);
  }
  return cases;
}

// The files a run writes into `folder` (as the file system names it) with
// the choices, and its help text.
RunOutputs PlanOutputs(const std::string& folder, const ConversionChoices& choices,
                       std::vector<HelpCase> helpCases) {
  RunOutputs outputs;
  outputs.target = {folder + choices.outputName,
                    {true, choices.vobsubAndPalette, choices.vobsubAndPalette},
                    "en",
                    choices.forced,
                    std::nullopt};
  for (const std::string& name : OutputFileNamesOf(outputs.target.formats, choices.outputName)) {
    outputs.written.push_back(folder + name);
  }
  outputs.written.push_back(folder + kHelpFileName);
  outputs.helpCases = std::move(helpCases);
  if (!outputs.helpCases.empty()) {
    outputs.target.help =
        RunHelpFile{folder + kHelpFileName, outputs.helpCases.back(), outputs.written};
  }
  return outputs;
}

}  // namespace

QString TForm1::ForcedStyleRefusal() const {
  const ConversionChoices choices = CurrentChoices();
  if (!IsBluRay(choices.target) || choices.forcedStyle.empty() ||
      DrawsScriptAsItIs(FileNameBytes(LoadedPath).toStdString(), choices.styles)) {
    return {};
  }
  // The converter's reasons, with the window's names of the choices.
  if (IsAssScriptPath(FileNameBytes(LoadedPath).toStdString())) {
    return LoadedPath + QStringLiteral(": \"Forced style\" ") +
           QString::fromLatin1(kForcedStyleWithWindowStylesReason) +
           QStringLiteral("; it cannot be used without \"Styles from the file\".");
  }
  return LoadedPath + QStringLiteral(": \"Forced style\" ") +
         QString::fromLatin1(kForcedStyleWithoutStylesReason) +
         QStringLiteral("; \"Forced subtitles\" marks every subtitle.");
}

bool TForm1::ReadyToGenerate() {
  if (!SubtitlesLoaded) {
    platform_.showMessage(QStringLiteral("Please load an Srt/Sub/Txt subtitle."));
    return false;
  }
  if (LoadedCues.empty()) {
    // An empty stream would replace the one written before for nothing.
    platform_.showMessage(
        QStringLiteral("There is no subtitle to write: load a file that holds subtitles."));
    return false;
  }
  if (!BluRayChosen() && (!PaletteReady || swatches_.empty())) {
    // Unticking the no-IFO box after a load takes the palette away.
    platform_.showMessage(QStringLiteral(
        "Please load an Ifo file, or tick the box for having none, before generating the sup."));
    return false;
  }
  if (HdrWithBdn(CurrentChoices())) {
    // BDN pictures are PNGs in plain RGB, which carry no colour space.
    platform_.showMessage(QStringLiteral("HDR cannot be used with BDN XML: ") +
                          QString::fromLatin1(kHdrWithBdnReason) + QLatin1Char('.'));
    return false;
  }
  if (const QString refusal = ForcedStyleRefusal(); !refusal.isEmpty()) {
    platform_.showMessage(refusal);
    return false;
  }
  const std::string name = CurrentChoices().outputName;
  if (!IsPlainOutputName(name)) {
    platform_.showMessage(QStringLiteral("The output name '") + QString::fromStdString(name) +
                          QStringLiteral("' must be a file name without a folder."));
    return false;
  }
  return true;
}

void TForm1::Button3Click() {
  if (generating_) {
    CancelGeneration();
    return;
  }
  const BusyCursor busy(platform_);
  if (!ReadyToGenerate()) {
    return;
  }
  if (BluRayChosen()) {
    GenerateBluRay();
    return;
  }
  // Every cue is read and checked with the choices and the style in force
  // before anything is written: a cue cut at the frame's edge never replaces
  // the stream written before.
  const ReadFilm read = RereadLoadedFilm();
  if (const QString unfit =
          UnfitCueRefusal(read.plan.cues, read.film.source, CurrentStyle(), FrameHeight(),
                          GenerationWorkers, true, WrapAdvice::WrapBox);
      !unfit.isEmpty()) {
    AllLinesFit = false;
    platform_.showMessage(unfit);
    return;
  }
  const ConversionChoices choices = CurrentChoices();
  // The folder of the file last chosen, as the file system names it, for
  // the files and the help text.
  const RunOutputs outputs =
      PlanOutputs(FileNameBytes(FolderOfFile(OpenDialog2.fileName)).toStdString(), choices,
                  HelpCasesOf(i_dont_have_ifo->isChecked(), NoIfoChosen, MonochromeIfo));
  QStringList inputs{LoadedPath};
  if (OpenDialog2.fileName != LoadedPath) {
    inputs << OpenDialog2.fileName;
  }
  RefuseOverwritingTheSubtitleFile(inputs, outputs.written, outputs.target.help.has_value());
  if (!RunGeneration(read, outputs.target)) {
    return;
  }
  const ChangingChoices changing{choices.shiftMs, choices.rateConversion, choices.forced};
  for (const HelpCase helpCase : outputs.helpCases) {
    platform_.showMessage(
        QString::fromStdString(ClosingMessage(helpCase, outputs.written, changing)));
  }
}

void TForm1::GenerateBluRay() {
  const ConversionChoices choices = CurrentChoices();
  const std::string folder = FileNameBytes(FolderOfFile(OpenDialog2.fileName)).toStdString();
  const std::string base = folder + choices.outputName;
  const BluRayFiles files{WritesStream(choices.bluRayForms) ? base + ".sup" : std::string(),
                          WritesBdn(choices.bluRayForms) ? base + ".xml" : std::string()};
  std::vector<std::string> written;
  for (const std::string& file : {files.pgsPath, files.bdnPath}) {
    if (!file.empty()) {
      written.push_back(file);
    }
  }
  QStringList inputs{LoadedPath};
  if (OpenDialog2.fileName != LoadedPath) {
    inputs << OpenDialog2.fileName;
  }
  std::vector<std::string> checked = written;
  checked.push_back(folder + kHelpFileName);
  RefuseOverwritingTheSubtitleFile(inputs, checked, false);
  // The file is read again with the choices in force, as the converter
  // reads it: an ASS or SSA file in its own styles as libass takes it, any
  // other as cues. libass lays them out, so no DVD frame check applies.
  const PgsLook look = CurrentPgsLook(choices);
  const BluRayReading reading{FileNameBytes(LoadedPath).toStdString(), choices.styles,
                              choices.encoding, CurrentStyle().charset,
                              AssRunChoices{ChosenTimes(), choices.forcedStyle}};
  BluRayRun run;
  try {
    run = ReadBluRayRun(reading, look, [this] {
      ReadFilm read = RereadLoadedFilm();
      LoadedSource = read.film.source;
      return BluRayCues{std::move(read.plan.cues), read.film.source};
    });
  } catch (const PlatformError&) {
    throw;
  } catch (const SubtitleFileError&) {
    throw;
  } catch (const std::invalid_argument&) {
    throw PlatformError(QStringLiteral("No encoding is called ") +
                        QString::fromStdString(choices.encoding));
  } catch (const UnknownForcedStyle& unknown) {
    throw PlatformError(LoadedPath + QStringLiteral(": \"Forced style\": ") +
                        QString::fromStdString(unknown.reason()));
  } catch (const std::runtime_error& error) {
    // What the script's check has to say, as one sentence that names the
    // file; the error box ends it.
    throw PlatformError(LoadedPath + QStringLiteral(": ") + QString::fromStdString(error.what()));
  }
  const std::optional<std::vector<std::string>> notes = RunBluRayGeneration(run, files, look);
  if (!notes) {
    return;
  }
  // Late and changing cues alter what is seen: they come first, in one
  // message. What decoding the file has to say was shown at its load.
  if (!notes->empty()) {
    QStringList lines;
    for (const std::string& note : *notes) {
      lines << QString::fromStdString(note);
    }
    platform_.showMessage(lines.join(QLatin1Char('\r')));
  }
  const ChangingChoices changing{choices.shiftMs, choices.rateConversion, choices.forced};
  platform_.showMessage(QString::fromStdString(
      files.bdnPath.empty() ? PgsClosingMessage(written, changing)
                            : BdnClosingMessage(written, changing, !files.pgsPath.empty())));
}

std::vector<QWidget*> TForm1::ControlsOfChoice() const {
  return {Button1,
          Button2,
          i_dont_have_ifo,
          Pal,
          Ntsc,
          ComboBox1,
          ComboBox2,
          ComboBox3,
          ComboBox4,
          ComboBox5,
          ComboBox6,
          ComboBox7,
          ComboBox8,
          ComboBoxAlign,
          ComboBoxOutlineWidth,
          offset,
          offset_or,
          ListBox1,
          BitBtnSetDefaultValues,
          BitBtnChangeImage,
          ComboBoxEncoding,
          CheckBoxTagsAsText,
          CheckBoxWrap,
          CheckBoxStylesFromFile,
          SpinBoxShift,
          EditConvertFps,
          CheckBoxVobSub,
          CheckBoxForced,
          EditOutputName,
          ComboBoxTarget,
          ComboBoxBluRayFiles,
          ComboBoxVideoRate,
          CheckBoxHdr,
          ComboBoxForcedStyle};
}

void TForm1::ShowRunProgress(std::size_t position, const ReadFilm& read,
                             const SubtitleStyle& style) {
  const std::vector<Subpicture>& subpictures = read.plan.timeline.subpictures;
  ProgressBar1->setValue(static_cast<int>(position) + 1);
  if (preview->readyForPicture() || position + 1 == subpictures.size()) {
    std::vector<CueToDraw> shown;
    for (const int cue : subpictures[position].cues) {
      const SubtitleEntry& entry = read.plan.cues.at(static_cast<std::size_t>(cue));
      shown.push_back(CueToDraw{entry.lines, entry.look});
    }
    RenderCueFrame(std::span<const CueToDraw>(shown), style);
  }
}

bool TForm1::RunGeneration(const ReadFilm& read, const RunTarget& target) {
  const RunLook look{
      CurrentStyle(), CurrentOutlineWidth(), palette_,         CurrentRolePaletteIndices(),
      FrameHeight(),  read.film.source,      GenerationWorkers};
  // The workers draw and encode; the window's thread hands the packets over
  // in order and, between them, keeps the window answering (a Cancel is seen
  // before the next packet) and shows the progress.
  const RunControl control{[&](std::size_t position) {
                             platform_.processPendingEvents();
                             ShowRunProgress(position, read, look.style);
                           },
                           &cancelRequested_};
  cancelRequested_ = false;
  bool completed = true;
  {
    const ControlsFrozen frozen(ControlsOfChoice());
    const GenerationInProgress running(generating_, Button3, ProgressBar1,
                                       static_cast<int>(read.plan.timeline.subpictures.size()));
    LoadedSource = read.film.source;
    try {
      WriteRunFiles(target, read.plan.cues, read.plan.timeline, look, control);
    } catch (const RunCancelled&) {
      completed = false;
    }
  }
  if (!completed) {
    RunStopped();
  }
  return completed;
}

PgsLook TForm1::CurrentPgsLook(const ConversionChoices& choices) const {
  // The rate is one of those the target's video lists.
  return PgsLook{BluRayStyleOf(CurrentStyle(), CurrentOutlineWidth()),
                 LoadedSource,
                 *BluRayVideoOf(choices),
                 choices.hdr,
                 choices.forced,
                 GenerationWorkers};
}

std::optional<std::vector<std::string>> TForm1::RunBluRayGeneration(const BluRayRun& run,
                                                                    const BluRayFiles& files,
                                                                    const PgsLook& look) {
  // libass draws on the workers; the window's thread hands the pictures to
  // the files in order and, between them, keeps the window answering (a
  // Cancel is seen before the next one) and shows the progress, counted in
  // cues or in the script's events.
  const RunControl control{[this](std::size_t position) {
                             platform_.processPendingEvents();
                             ProgressBar1->setValue(static_cast<int>(position) + 1);
                           },
                           &cancelRequested_};
  cancelRequested_ = false;
  std::optional<std::vector<std::string>> notes;
  {
    const ControlsFrozen frozen(ControlsOfChoice());
    const GenerationInProgress running(generating_, Button3, ProgressBar1,
                                       static_cast<int>(run.steps()));
    try {
      notes = WriteBluRayRun(run, files, look, control);
    } catch (const RunCancelled&) {
      notes.reset();
    }
  }
  if (!notes) {
    RunStopped();
  }
  return notes;
}

void TForm1::RunStopped() {
  ProgressBar1->setValue(0);
  if (closeAfterRun_) {
    close();
  } else {
    platform_.showMessage(QString::fromLatin1(kRunStoppedMessage));
  }
}

void TForm1::CancelGeneration() {
  if (generating_) {
    cancelRequested_ = true;
  }
}

void TForm1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && generating_) {
    CancelGeneration();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace tesmora
