// Loading a subtitle file into the window's lists, and the generation run
// that turns the loaded subtitles into a subpicture stream.
#include <QFile>
#include <QSignalBlocker>

#include "app/TForm1.h"
#include "files/FileAccess.h"
#include "files/FileNames.h"
#include "files/OverwrittenInput.h"
#include "render/CrowdedCues.h"
#include "render/CueFrameDrawing.h"
#include "render/CueTextNotes.h"
#include "render/OverlongCue.h"
#include "render/TextlessCues.h"
#include "render/UnfitCueMessage.h"
#include "subtitles/CodePageReplacements.h"
#include "subtitles/CueTimes.h"
#include "subtitles/DecodingNotes.h"
#include "subtitles/EarlyCues.h"
#include "subtitles/FrameReader.h"
#include "subtitles/SrtReader.h"
#include "subtitles/SubtitleFile.h"
#include "subtitles/TextLines.h"
#include "subtitles/TimeChange.h"
#include "sup/FormatFiles.h"
#include "sup/GenerationRun.h"
#include "sup/HelpFile.h"
#include "sup/OutputFileSet.h"
#include "sup/ParallelUnits.h"
#include "sup/SubtitlePacket.h"
#include "sup/TimingReportText.h"

namespace tesmora {
namespace {

const QString kRestingCaption = QStringLiteral("Tesmora By Ovandel");
const QString kFrameRateQuestion = QStringLiteral(
    "The first line of the sub does not give the frame rate.\rChoose the frame rate of the video:");

QByteArray Bytes(std::string_view text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

SubtitleReadResult ReadSubtitleFile(const LineList& lines, const QString& path) {
  const std::string extension = UpperExtension(FileNameBytes(path).toStdString());
  if (extension == ".SRT") {
    return ReadSrt(lines);
  }
  if (extension == ".SUB" || extension == ".TXT") {
    return ReadFrames(lines);
  }
  return {};
}

// The cues and their list texts in time order, as the list shows them.
SubtitleReadResult InTimeOrder(SubtitleReadResult result, const std::vector<CueTime>& times) {
  const std::vector<std::size_t> order = TimeOrder(times);
  const bool textPerCue = result.listTexts.size() == result.entries.size();
  std::vector<SubtitleEntry> entries;
  std::vector<std::string> listTexts;
  entries.reserve(order.size());
  for (const std::size_t i : order) {
    entries.push_back(std::move(result.entries[i]));
    if (textPerCue) {
      listTexts.push_back(std::move(result.listTexts[i]));
    }
  }
  result.entries = std::move(entries);
  if (textPerCue) {
    result.listTexts = std::move(listTexts);
  }
  return result;
}

// The markup a loaded file's cues are read with, by its extension.
MarkupDialect LoadedDialect(const QString& path) {
  return UpperExtension(FileNameBytes(path).toStdString()) == ".SRT" ? MarkupDialect::Srt
                                                                     : MarkupDialect::MicroDvd;
}

// How the loaded cues' text is read: as the file's kind gives its markup,
// or exactly as written, and wrapped if chosen.
TextSource ChosenSource(bool utf8, const QString& path, const ConversionChoices& choices) {
  return {utf8, choices.noMarkup ? MarkupDialect::Literal : LoadedDialect(path), choices.wrap};
}

long long DecimalValue(const QByteArray& text) {
  bool ok = false;
  const long long value = text.toLongLong(&ok);
  if (!ok) {
    throw PlatformError(QLatin1Char('\'') + QString::fromLatin1(text) +
                        QStringLiteral("' is not a valid integer value"));
  }
  return value;
}

// Every control that could start a load, another run, or change the style
// or the palette is disabled while a run is in progress, and given back its
// state afterwards, also when the run ends with an error.
class ControlsFrozen {
 public:
  explicit ControlsFrozen(std::initializer_list<QWidget*> controls) {
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

// Marks a generation run as in progress while it lives, also when the run
// ends with an error.
class GenerationInProgress {
 public:
  explicit GenerationInProgress(bool& flag) : flag_(flag) { flag_ = true; }
  ~GenerationInProgress() { flag_ = false; }
  GenerationInProgress(const GenerationInProgress&) = delete;
  GenerationInProgress& operator=(const GenerationInProgress&) = delete;

 private:
  bool& flag_;
};

// Refuses a run whose outputs, `written` as the help text lists them with
// the help file last, would replace the loaded subtitle file `subtitlePath`:
// a MicroDVD film.sub named like the VobSub pair's .sub, a .txt named like
// the help file, or either through a link.
void RefuseOverwritingTheSubtitleFile(const QString& subtitlePath,
                                      const std::vector<std::string>& written, bool withHelpFile) {
  QStringList outputs;
  for (const std::string& path : written) {
    outputs << FileNameText(QByteArray::fromStdString(path));
  }
  const QString helpFile = outputs.takeLast();
  if (withHelpFile) {
    outputs << helpFile;
  }
  const std::optional<OverwrittenInput> overwritten = FindOverwrittenInput({subtitlePath}, outputs);
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

}  // namespace

void TForm1::Button2Click() {
  const bool chosen = platform_.runOpenDialog(OpenDialog2);
  if (!chosen || !PaletteReady) {
    platform_.showMessage(
        QStringLiteral("Please load an Ifo file first and then an Srt/Sub/Txt file."));
    return;
  }
  platform_.processPendingEvents();
  setWindowTitle(QStringLiteral("Tesmora By Ovandel Loading Subtitle..."));

  // The file is read into a new set of lists; the loaded ones, the path
  // shown and the flags stay as they are until the new load has completed,
  // so that a file that stops at a bad cue or holds no subtitle never
  // replaces a good load.
  const QString path = OpenDialog2.fileName;
  const ConversionChoices choices = CurrentChoices();
  std::optional<RateConversion> conversion;
  if (!choices.rateConversion.empty()) {
    conversion = ParseRateConversion(choices.rateConversion);
    if (!conversion) {
      setWindowTitle(kRestingCaption);
      throw PlatformError(QStringLiteral("The frame rate conversion '") +
                          QString::fromStdString(choices.rateConversion) +
                          QStringLiteral("' is not two frame rates FROM:TO such as 23.976:25"));
    }
  }
  const std::string content = ReadSubtitleFileBytes(FileNameBytes(path).toStdString());
  FileText text = DecodeSubtitleFile(content, choices.encoding);
  const LineList lines = SplitLines(text.bytes);

  SubtitleReadResult result = ReadSubtitleFile(lines, path);
  if (result.frameRateMissing) {
    // A frame file that names no rate is read at the rate the user picks.
    QStringList rates;
    for (const std::string_view rate : kCommonFrameRateTexts) {
      rates << QString::fromLatin1(rate.data(), static_cast<qsizetype>(rate.size()));
    }
    const std::optional<QString> picked = platform_.chooseItem(kFrameRateQuestion, rates);
    if (picked) {
      const std::string rateText = picked->toStdString();
      result = ReadFrames(lines, ChosenFrameRate{*ParseFrameRate(rateText), rateText});
    }
  }
  if (result.frameRateMissing) {
    platform_.showMessage(QString::fromStdString(result.error));
    setWindowTitle(kRestingCaption);
    return;
  }
  if (!result.error.empty()) {
    throw PlatformError(QString::fromStdString(result.error));
  }
  if (const std::string textless = LeaveOutTextlessCues(
          result.entries, ChosenSource(text.utf8, path, choices), CurrentStyle());
      !textless.empty()) {
    result.notes.push_back(textless);
  }
  try {
    result.entries = ChangeCueTimes(std::move(result.entries), conversion, choices.shiftMs);
  } catch (const SubtitleError& error) {
    throw PlatformError(QString::fromStdString(error.what()));
  }
  // A cue read before 0 is refused only if the shift left it there.
  if (const std::string early = StillEarlyCueMessage(result.entries, result.earlyCues);
      !early.empty()) {
    throw PlatformError(QString::fromStdString(early));
  }
  // Everything the load has to say comes in one message.
  QStringList reports;
  if (result.unreadTimingLines > 0) {
    reports << QStringLiteral(
                   "Some subtitles could not be read: %1 timing line(s) not understood. "
                   "First at line %2:\r")
                       .arg(result.unreadTimingLines)
                       .arg(result.firstUnreadLineNumber) +
                   QString::fromLatin1(Bytes(result.firstUnreadLine));
  }
  if (const std::string invalid = ReplacedCharactersNote(text, lines, CurrentStyle().charset);
      !invalid.empty()) {
    reports << QString::fromStdString(invalid);
  }
  for (const std::string& note : result.notes) {
    reports << QString::fromStdString(note);
  }
  // The subpictures are planned at load too, so that a time too late for a
  // time stamp stops the load and what the timing changes is told now.
  const std::vector<CueTime> times = CueTimesOf(result.entries);
  Timeline timeline;
  try {
    timeline = PlanTimeline(times);
  } catch (const SubtitleError& error) {
    throw PlatformError(QString::fromStdString(error.what()));
  }
  for (const std::string& line : TimingReportLines(timeline.report)) {
    reports << QString::fromStdString(line);
  }
  // The cues are checked before they are shown: a file with a cue that
  // cannot be drawn whole leaves the window as it was, the earlier load's
  // cues ready to generate.
  std::optional<UnfitCue> unfit;
  const TextSource source = ChosenSource(text.utf8, path, choices);
  const SubtitleStyle style = CurrentStyle();
  if (!result.entries.empty()) {
    for (const std::string& note : CueTextNotes(result.entries, source, style)) {
      reports << QString::fromStdString(note);
    }
    unfit = FirstUnfitCue(result.entries, source, style, FrameHeight(), GenerationWorkers);
    if (!unfit) {
      const std::string crowded =
          CrowdedCuesNote(result.entries, timeline.subpictures, source, style, FrameHeight());
      if (!crowded.empty()) {
        reports << QString::fromStdString(crowded);
      }
    }
  }
  if (!reports.isEmpty()) {
    platform_.showMessage(reports.join(QLatin1Char('\r')));
  }
  if (result.entries.empty()) {
    throw PlatformError(QStringLiteral("No subtitle was found in ") + path);
  }
  if (unfit) {
    const PreparedCue cue = PrepareCue(result.entries[unfit->position].lines, source, style);
    platform_.showMessage(UnfitCueMessage(cue, unfit->fault, unfit->position + 1, false));
    setWindowTitle(kRestingCaption);
    return;
  }

  std::string fileText = std::move(text.bytes);
  ShowLoadedSubtitles(std::move(fileText), InTimeOrder(std::move(result), times), text);
  AllLinesFit = true;
  FrameRateMissing = false;
  CheckAllSubtitleLines();
  setWindowTitle(kRestingCaption);
}

void TForm1::ShowLoadedSubtitles(std::string fileText, const SubtitleReadResult& result,
                                 const FileText& text) {
  LoadedCues = result.entries;
  LoadedSource = ChosenSource(text.utf8, OpenDialog2.fileName, CurrentChoices());
  LoadedEncoding = QString::fromStdString(text.encoding);
  ListBox1->clear();
  for (LineStore* store : {Memo2, Memo3, Memo4, Memo5}) {
    store->lines().clear();
  }
  Memo1->assign(std::move(fileText));
  for (const SubtitleEntry& entry : result.entries) {
    Memo2->lines() << QByteArray::number(entry.startMs);
    Memo3->lines() << QByteArray::number(entry.durationMs);
    Memo4->lines() << Bytes(entry.line1());
    Memo5->lines() << Bytes(entry.line2());
  }
  ShowCueListTexts();
}

void TForm1::ShowCueListTexts() {
  const int row = ListBox1->currentRow();
  const QSignalBlocker quiet(ListBox1);
  ListBox1->clear();
  const int charset = CharsetFromName(ComboBox7->currentText());
  for (const SubtitleEntry& cue : LoadedCues) {
    ListBox1->addItem(CueListText(cue.lines, LoadedSource, charset));
  }
  ListBox1->setCurrentRow(row);
}

RolePaletteIndices TForm1::CurrentRolePaletteIndices() const {
  return {RolePaletteIndex(ComboBox1->currentText()), RolePaletteIndex(ComboBox2->currentText()),
          RolePaletteIndex(ComboBox3->currentText()), RolePaletteIndex(ComboBox4->currentText())};
}

void TForm1::Button3Click() {
  const BusyCursor busy(platform_);
  if (!SubtitlesLoaded) {
    platform_.showMessage(QStringLiteral("Please load an Srt/Sub/Txt subtitle."));
    return;
  }
  if (Memo2->lines().isEmpty()) {
    // An empty stream would replace the one written before for nothing.
    platform_.showMessage(
        QStringLiteral("There is no subtitle to write: load a file that holds subtitles."));
    return;
  }
  if (!PaletteReady || swatches_.empty()) {
    // Unticking the no-IFO box after a load takes the palette away.
    platform_.showMessage(QStringLiteral(
        "Please load an Ifo file, or tick the box for having none, before generating the sup."));
    return;
  }
  const auto keyOf = [this](const QComboBox* role) {
    return palette_[static_cast<std::size_t>(RolePaletteIndex(role->currentText()))].rgb;
  };
  const RoleKeyColours keys{keyOf(ComboBox3), keyOf(ComboBox2), keyOf(ComboBox1)};
  std::vector<CueTime> times;
  for (qsizetype i = 0; i < Memo2->lines().size(); ++i) {
    const long long startMs = DecimalValue(Memo2->lines().value(i));
    times.push_back({startMs, startMs + DecimalValue(Memo3->lines().value(i))});
  }
  const Timeline timeline = PlanTimeline(times);
  const int count = static_cast<int>(timeline.subpictures.size());
  ProgressBar1->setRange(0, std::max(count - 1, 0));
  ProgressBar1->setValue(0);
  // The folder as the file system names it, for the files and the help text.
  const std::string folderText = FileNameBytes(FolderOfFile(OpenDialog2.fileName)).toStdString();
  const ConversionChoices choices = CurrentChoices();
  if (!IsPlainOutputName(choices.outputName)) {
    platform_.showMessage(QStringLiteral("The output name '") +
                          QString::fromStdString(choices.outputName) +
                          QStringLiteral("' must be a file name without a folder."));
    return;
  }
  const std::string stem = choices.outputName;
  const OutputFormats formats{true, choices.vobsubAndPalette, choices.vobsubAndPalette};
  // The files the run writes, as the help text lists them.
  std::vector<std::string> written{folderText + stem + ".sup"};
  if (formats.vobsub) {
    written.push_back(folderText + stem + ".idx");
    written.push_back(folderText + stem + ".sub");
  }
  if (formats.rgb) {
    written.push_back(folderText + stem + ".rgb");
  }
  written.push_back(folderText + kHelpFileName);
  // The cases whose closing message is shown; the help file holds the last.
  std::vector<HelpCase> helpCases;
  if (NoIfoChosen && i_dont_have_ifo->isChecked()) {
    helpCases.push_back(HelpCase::NoIfo);
  }
  if (MonochromeIfo && i_dont_have_ifo->isChecked()) {
    helpCases.push_back(HelpCase::MonocromaticIfo);
  }
  if (!i_dont_have_ifo->isChecked()) {
    helpCases.push_back(HelpCase::WithIfo);
  }
  RefuseOverwritingTheSubtitleFile(OpenDialog2.fileName, written, !helpCases.empty());

  {
    const ControlsFrozen frozen{Button1,
                                Button2,
                                Button3,
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
                                SpinBoxShift,
                                EditConvertFps,
                                CheckBoxVobSub,
                                CheckBoxForced,
                                EditOutputName};
    // The workers draw and encode; the window's thread hands the packets
    // over in order, steps the progress bar, keeps the window answering and,
    // once a screen frame and for the last, shows the subpicture handed over.
    // They start before any file is opened: a thread the system refuses
    // leaves nothing behind, and the run goes on with those that started.
    const CueFrameLook look{LoadedSource,
                            CurrentStyle(),
                            CurrentOutlineWidth(),
                            CurrentRoleColours(),
                            keys,
                            CurrentRolePaletteIndices(),
                            Ntsc->isChecked() ? 480 : 576};
    const std::vector<Subpicture>& subpictures = timeline.subpictures;
    ParallelEncoding encoding(subpictures, times, keys,
                              choices.forced ? StartDisplay::Forced : StartDisplay::Normal,
                              GenerationWorkers, CueFrameDrawings(LoadedCues, look));
    // The chosen formats and the help file replace earlier ones together,
    // and only once all are complete.
    OutputFileSet outputs;
    FormatFiles files(
        outputs, folderText + stem, formats,
        VobSubTrack{Ntsc->isChecked() ? 480 : 576, ShownColours(palette_), "en", choices.forced});
    PendingFile* help = helpCases.empty() ? nullptr : &outputs.add(folderText + kHelpFileName);
    std::vector<CueToDraw> shown;
    const auto awaited = [&](std::size_t position) {
      platform_.processPendingEvents();
      ProgressBar1->setValue(ProgressBar1->value() + 1);
      if (preview->readyForPicture() || position + 1 == subpictures.size()) {
        shown.clear();
        for (const int cue : subpictures[position].cues) {
          shown.push_back(CueToDraw{LoadedCues.at(static_cast<std::size_t>(cue)).lines});
        }
        RenderCueFrame(std::span<const CueToDraw>(shown), look.style);
      }
    };
    const GenerationInProgress running(generating_);
    encoding.run(awaited,
                 [&files](const SupPacket& packet, std::uint32_t pts) { files.add(packet, pts); });
    files.finish();
    if (help != nullptr) {
      help->write(HelpFileText(HelpFileLinesListing(helpCases.back(), written)));
    }
    outputs.commit();
  }

  for (const HelpCase helpCase : helpCases) {
    platform_.showMessage(QString::fromStdString(HelpMessageListing(helpCase, written)));
  }
}

}  // namespace tesmora
