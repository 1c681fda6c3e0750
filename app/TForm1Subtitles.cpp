// Loading a subtitle file into the window's list, and reading it again when
// a choice of how its text is read changes.
#include <QSignalBlocker>

#include "app/TForm1.h"
#include "conversion/AssFileRun.h"
#include "conversion/RunReports.h"
#include "files/FileNames.h"
#include "render/CrowdedCues.h"
#include "timing/CueTimes.h"
#include "timing/TimeChange.h"

namespace tesmora {
namespace {

const QString kRestingCaption = QStringLiteral("Tesmora By Ovandel");
const QString kFrameRateQuestion = QStringLiteral(
    "The first line of the sub does not give the frame rate.\rChoose the frame rate of the video:");

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

// The cues in time order, as the list shows them.
std::vector<SubtitleEntry> InTimeOrder(std::vector<SubtitleEntry> cues) {
  std::vector<SubtitleEntry> ordered;
  ordered.reserve(cues.size());
  for (const std::size_t i : TimeOrder(CueTimesOf(cues))) {
    ordered.push_back(std::move(cues[i]));
  }
  return ordered;
}

// What the reading of a file has to say, as the load's message shows it.
QStringList ReadingReports(const LoadedFilm& film) {
  QStringList reports;
  if (!film.unreadNote.empty()) {
    reports << Text(film.unreadNote).replace(QLatin1Char('\n'), QLatin1Char('\r'));
  }
  if (!film.replacedNote.empty()) {
    reports << Text(film.replacedNote);
  }
  for (const std::string& note : film.result.notes) {
    reports << Text(note);
  }
  return reports;
}

// What planning the cues has to say, in the load's message. The timing
// notes are those of the DVD's subpictures; a Blu-ray stream's writer makes
// its own when it runs.
QStringList PlanReports(const FilmPlan& plan, bool bluRay) {
  QStringList reports;
  if (!plan.textlessNote.empty()) {
    reports << Text(plan.textlessNote);
  }
  for (const std::vector<std::string>* notes : {&plan.timingNotes, &plan.cueTextNotes}) {
    if (bluRay && notes == &plan.timingNotes) {
      continue;
    }
    for (const std::string& note : *notes) {
      reports << Text(note);
    }
  }
  return reports;
}

// Throws the message of a plan refused for its times; a plan without cues
// is left to the caller, which says so after the load's notes.
void RefuseChangedTimes(const FilmPlan& plan) {
  if (plan.refusal == PlanRefusal::TimeChange || plan.refusal == PlanRefusal::Timeline) {
    throw PlatformError(Text(plan.refusalMessage));
  }
}

// The time changes `choices` ask for; a conversion that is not two rates is
// refused with its text.
TimeChoices TimesOf(const ConversionChoices& choices) {
  TimeChoices times{std::nullopt, choices.shiftMs};
  if (!choices.rateConversion.empty()) {
    times.rate = ParseRateConversion(choices.rateConversion);
    if (!times.rate) {
      throw PlatformError(QStringLiteral("The frame rate conversion '") +
                          Text(choices.rateConversion) +
                          QStringLiteral("' is not two frame rates FROM:TO such as 23.976:25"));
    }
  }
  return times;
}

// The styles of an ASS or SSA file as the forced style may name them; none
// for another file, and for a script libass cannot read, which its run
// refuses with the reason.
std::vector<std::string> ScriptStylesOf(const QString& path, const std::string& encoding,
                                        int charset) {
  const std::string bytes = FileNameBytes(path).toStdString();
  if (!IsAssScriptPath(bytes)) {
    return {};
  }
  try {
    return ScriptStyleNames(LoadAssFilm(bytes, encoding, charset));
  } catch (const std::exception&) {
    return {};
  }
}

// Whether the format's times are counted in frames, which a rate turns into
// times.
bool CountsFrames(const SubtitleFormat* format) {
  return format != nullptr && format->dialect == MarkupDialect::MicroDvd;
}

// Reads a file for a Blu-ray target as the converter reads it with --fps:
// a frame file at the video's chosen rate, which replaces the file's own
// (the notes say so); one that names no rate (`dvdRate`, chosen for it, is
// then set) at the chosen rate or the video's usual one, without a question
// but with a note.
// `dvdRate`, once set, is kept for the DVD.
LoadedFilm ReadFramesAtTheVideosRate(FilmRequest request, const ConversionChoices& choices,
                                     std::optional<ChosenFrameRate>& dvdRate) {
  if (!dvdRate) {
    LoadedFilm film = LoadFilm(request);  // at the file's own rate, if any
    if (!film.result.frameRateMissing) {
      request.fps = BluRayFramesRate(choices, false);
      return CountsFrames(film.format) && request.fps ? LoadFilm(request) : film;
    }
  }
  // Here the file names no rate of its own: the load says which it is read at.
  request.fps = BluRayFramesRate(choices, true);
  if (!dvdRate) {
    dvdRate = request.fps;
  }
  LoadedFilm film = LoadFilm(request);
  if (request.fps && film.result.error.empty()) {
    film.result.notes.push_back("The file names no frame rate; its frames are read at " +
                                request.fps->text + ", the Blu-ray video's rate.");
  }
  return film;
}

}  // namespace

TimeChoices TForm1::ChosenTimes() const {
  return TimesOf(CurrentChoices());
}

LoadedFilm TForm1::ReadFilmFile(const QString& path, std::optional<ChosenFrameRate>& rate,
                                bool askRate) {
  const ConversionChoices choices = CurrentChoices();
  const bool bluRay = IsBluRay(choices.target);
  FilmRequest request{path,
                      choices.encoding,
                      choices.noMarkup,
                      choices.wrap,
                      bluRay ? std::nullopt : rate,
                      CurrentStyle().charset,
                      ListTexts::Skipped,
                      choices.styles,
                      bluRay};
  if (bluRay) {
    return ReadFramesAtTheVideosRate(std::move(request), choices, rate);
  }
  LoadedFilm film = LoadFilm(request);
  if (film.result.frameRateMissing && askRate) {
    // A frame file that names no rate is read at the rate the user picks.
    QStringList rates;
    for (const std::string_view offered : kCommonFrameRateTexts) {
      rates << QString::fromLatin1(offered.data(), static_cast<qsizetype>(offered.size()));
    }
    if (const std::optional<QString> picked = platform_.chooseItem(kFrameRateQuestion, rates)) {
      const std::string rateText = picked->toStdString();
      rate = ChosenFrameRate{*ParseFrameRate(rateText), rateText};
      request.fps = rate;
      film = LoadFilm(request);
    }
  }
  return film;
}

TForm1::ReadFilm TForm1::RereadLoadedFilm() {
  const TimeChoices times = ChosenTimes();
  std::optional<ChosenFrameRate> rate = LoadedFrameRate;
  ReadFilm read{ReadFilmFile(LoadedPath, rate, false), {}};
  if (!read.film.result.error.empty()) {
    throw PlatformError(Text(read.film.result.error));
  }
  read.plan = PlanFilm(read.film, CurrentStyle(), times);
  RefuseChangedTimes(read.plan);
  if (read.plan.refusal == PlanRefusal::NoSubtitle) {
    throw PlatformError(QStringLiteral("No subtitle was found in ") + LoadedPath);
  }
  return read;
}

void TForm1::Button2Click() {
  const bool chosen = platform_.runOpenDialog(OpenDialog2);
  if (!chosen || !ColoursReady()) {
    platform_.showMessage(
        QStringLiteral("Please load an Ifo file first and then an Srt/Sub/Txt file."));
    return;
  }
  platform_.processPendingEvents();
  setWindowTitle(QStringLiteral("Tesmora By Ovandel Loading Subtitle..."));

  // The file is read on its own; the loaded cues, the path shown and the
  // flags stay as they are until the new load has completed, so that a file
  // that stops at a bad cue or holds no subtitle never replaces a good load.
  const QString path = OpenDialog2.fileName;
  // A shift or rate conversion belongs to the film it was set for: another
  // file is read without them.
  const ConversionChoices choices = ChoicesForLoad(path);
  TimeChoices times;
  try {
    times = TimesOf(choices);
  } catch (const PlatformError&) {
    setWindowTitle(kRestingCaption);
    throw;
  }
  std::optional<ChosenFrameRate> rate;
  ReadFilm read{ReadFilmFile(path, rate, true), {}};
  if (read.film.result.frameRateMissing) {
    platform_.showMessage(Text(read.film.result.error));
    setWindowTitle(kRestingCaption);
    return;
  }
  if (!read.film.result.error.empty()) {
    throw PlatformError(Text(read.film.result.error));
  }
  read.plan = PlanFilm(read.film, CurrentStyle(), times);
  RefuseChangedTimes(read.plan);
  const QString unfit = ShowLoadReports(read, path);
  if (read.plan.cues.empty()) {
    throw PlatformError(QStringLiteral("No subtitle was found in ") + path);
  }
  if (!unfit.isEmpty()) {
    platform_.showMessage(unfit);
    setWindowTitle(kRestingCaption);
    return;
  }
  ShowLoadedSubtitles(path, rate, std::move(read));
  KeepFilmChoices(path, choices);
  AllLinesFit = true;
  FrameRateMissing = false;
  CheckAllSubtitleLines();
  setWindowTitle(kRestingCaption);
}

QString TForm1::ShowLoadReports(const ReadFilm& read, const QString& path) {
  // Everything the load has to say comes in one message. A script drawn as
  // it is on a Blu-ray target goes to libass whole, in its own colours and
  // motion, so what the reading of its cues for the window's style says
  // does not apply: only its decoding, as the converter says it.
  QStringList reports;
  if (BluRayChosen() &&
      DrawsScriptAsItIs(FileNameBytes(path).toStdString(), CurrentChoices().styles)) {
    if (!read.film.replacedNote.empty()) {
      reports << Text(read.film.replacedNote);
    }
  } else {
    reports << ReadingReports(read.film) << PlanReports(read.plan, BluRayChosen());
  }
  // The cues are checked before they are shown: a file with a cue that
  // cannot be drawn whole leaves the window as it was, the earlier load's
  // cues ready to generate. On a Blu-ray target libass lays out and wraps
  // the lines, so the DVD frame's checks do not apply; a DVD run checks
  // again before it writes.
  const TextSource& source = read.film.source;
  const std::vector<SubtitleEntry>& cues = read.plan.cues;
  const QString unfit = cues.empty() || BluRayChosen()
                            ? QString()
                            : UnfitCueRefusal(cues, source, CurrentStyle(), FrameHeight(),
                                              GenerationWorkers, false, WrapAdvice::WrapBox);
  if (!cues.empty() && unfit.isEmpty() && !BluRayChosen()) {
    if (const std::string crowded = CrowdedCuesNote(cues, read.plan.timeline.subpictures, source,
                                                    CurrentStyle(), FrameHeight());
        !crowded.empty()) {
      reports << Text(crowded);
    }
  }
  if (!reports.isEmpty()) {
    platform_.showMessage(reports.join(QLatin1Char('\r')));
  }
  return unfit;
}

void TForm1::ShowLoadedSubtitles(const QString& path, const std::optional<ChosenFrameRate>& rate,
                                 ReadFilm read) {
  LoadedCues = InTimeOrder(std::move(read.plan.cues));
  LoadedSource = read.film.source;
  LoadedEncoding = Text(read.film.encoding);
  LoadedPath = path;
  LoadedFrameRate = rate;
  ShowCueListTexts();
  ShowForcedStyles(ScriptStylesOf(path, CurrentChoices().encoding, CurrentStyle().charset));
}

void TForm1::ReadingChoiceChange() {
  if (!SubtitlesLoaded || generating_) {
    return;
  }
  ReadFilm read = RereadLoadedFilm();
  if (const QString unfit =
          BluRayChosen()
              ? QString()
              : UnfitCueRefusal(read.plan.cues, read.film.source, CurrentStyle(), FrameHeight(),
                                GenerationWorkers, true, WrapAdvice::WrapBox);
      !unfit.isEmpty()) {
    // Said once; a run refuses until a choice makes every cue fit.
    platform_.showMessage(unfit);
  }
  const QString path = LoadedPath;
  const std::optional<ChosenFrameRate> rate = LoadedFrameRate;
  ShowLoadedSubtitles(path, rate, std::move(read));
  Edit2->setToolTip(LoadedEncoding.isEmpty()
                        ? QStringLiteral("Read in the code page of the Font Charset")
                        : QStringLiteral("Read as ") + LoadedEncoding);
  StyleRedraw();
}

void TForm1::FrameRateChoiceChange() {
  // Only the times of a file counted in frames follow the rate.
  if (CountsFrames(FormatOfFile(FileNameBytes(LoadedPath).toStdString()))) {
    ReadingChoiceChange();
  }
}

void TForm1::ShowCueListTexts() {
  const int row = ListBox1->currentRow();
  const QSignalBlocker quiet(ListBox1);
  ListBox1->clear();
  for (const SubtitleEntry& cue : LoadedCues) {
    ListBox1->addItem(CueListText(cue.lines));
  }
  ListBox1->setCurrentRow(row);
}

RolePaletteIndices TForm1::CurrentRolePaletteIndices() const {
  return {RolePaletteIndex(ComboBox1->currentText()), RolePaletteIndex(ComboBox2->currentText()),
          RolePaletteIndex(ComboBox3->currentText()), RolePaletteIndex(ComboBox4->currentText())};
}

}  // namespace tesmora
