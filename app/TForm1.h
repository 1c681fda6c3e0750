#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>

#include <QByteArray>
#include <atomic>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/DroppedFile.h"
#include "app/IniFile.h"
#include "app/Pictures.h"
#include "app/PreviewControl.h"
#include "app/SwatchRow.h"
#include "conversion/BluRayRun.h"
#include "conversion/ConversionChoices.h"
#include "conversion/FilmLoad.h"
#include "conversion/FilmPlan.h"
#include "conversion/ParallelUnits.h"
#include "conversion/RunFiles.h"
#include "palette/Palette.h"
#include "platform/Platform.h"
#include "render/EncodeArea.h"
#include "render/FrameBitmap.h"
#include "render/GlyphCache.h"
#include "render/KeyFrameRenderer.h"
#include "render/OutlinedLine.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/FileText.h"
#include "subtitles/LineList.h"
#include "subtitles/SubtitleList.h"
#include "sup/SupPacket.h"

namespace tesmora {

// The main window. Its controls hold the user's choices; every handler reads
// them when it runs, calls plain functions, and shows the result.
class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // `settingsPath` names the settings file, or is empty for a window that
  // keeps no settings.
  explicit TForm1(Platform& platform, const QString& settingsPath = QString(),
                  QWidget* parent = nullptr);
  ~TForm1() override;

  // Writes the settings held in memory to the settings file; returns the
  // message for the user when that fails.
  std::optional<QString> FlushSettings();

  // Start-up defaults; also the handler of BitBtnSetDefaultValues, which adds
  // a few steps when it is the sender.
  void FormCreate(QObject* sender);
  // Sizes the window to fit the screen's available area and centres it there.
  void FitToArea(const QRect& available);
  // Runs each time the window becomes the active window of the program.
  void FormActivate();
  void PalClick();
  void NtscClick();
  void BitBtnChangeImageClick();
  // Loads a file dropped on the window or named on the command line with
  // the handler of the button that loads it, as if chosen in that button's
  // dialog: same checks, same messages.
  void LoadFile(const DroppedFile& file);
  // Shows the About window and brings it to the front.
  void ButtonAboutClick();
  void setAboutWindow(QWidget* about) { about_ = about; }
  // Shows the preview picture of the checked standard: the built-in one, or
  // the user's own picture when its path is set and the file exists.
  void LoadPreviewBackground();

  // The subtitle style, outline width and role colours as the controls hold
  // them now.
  SubtitleStyle CurrentStyle() const;
  // The rows of a frame of the checked standard: 576 PAL, 480 NTSC.
  int FrameHeight() const;
  int CurrentOutlineWidth() const;
  RoleColours CurrentRoleColours() const;

  // Draws two 8-bit lines as written, no markup read, on the preview
  // background after the width check, as a cue is drawn; sets AllLinesFit.
  void RenderPreview(const QByteArray& line1, const QByteArray& line2, const SubtitleStyle& style);
  // Draws the cues shown together on the blue key frame, read as the loaded
  // file's text is, and leaves the band the encoder reads.
  void RenderCueFrame(std::span<const CueToDraw> cues, const SubtitleStyle& style);
  // Draws a loaded cue on the preview background after the width check; sets
  // AllLinesFit.
  void RenderPreviewCue(const std::vector<std::string>& lines, const SubtitleStyle& style);
  // The same for lines read as `source` says.
  void RenderPreviewCue(const std::vector<std::string>& lines, const TextSource& source,
                        const SubtitleStyle& style, const CuePlacement& placement = {});
  const FrameBitmap& KeyFrame() const { return keyFrames_.frame(); }
  const EncodeArea& LastEncodeArea() const { return encodeArea_; }

  // Measures a loaded cue of any number of lines, read as the loaded file's
  // text is, against the line limit and the frame's rows when placed alone;
  // reports a cue that does not fit, naming it by `number` (counted from 1),
  // and sets AllLinesFit.
  void CheckCueFits(const SubtitleEntry& entry, std::size_t number, const SubtitleStyle& style);
  // Checks every loaded entry, stopping at the first that does not fit; when
  // all fit, the subtitles count as loaded.
  void CheckAllSubtitleLines();

  // Palette and colour roles.
  void Button1Click();
  void i_dont_have_ifoClick(bool checked);
  void InstallGenericPalette();
  void ComboBox1Change();
  void ListBox1Click();
  const Palette& CurrentPalette() const { return palette_; }
  const SwatchRow& Swatches() const { return swatches_; }

  // Loading subtitles and generating the subpicture stream; during a run,
  // the "Generate Sup" button reads "Cancel" and stops it.
  void Button2Click();
  void Button3Click();
  // Stops the generation run in progress, if any: no file of it is written
  // and the earlier ones stay as they were.
  void CancelGeneration();
  // Reads the loaded file again after a change of how its text is read
  // (Encoding, "Draw tags as text", "Wrap long lines", and the Font Charset
  // for an 8-bit file) and shows its cues.
  void ReadingChoiceChange();
  // Reads a loaded frame file again after a change of the rate its frames
  // are read at (the target, or the Blu-ray video's rate).
  void FrameRateChoiceChange();
  // Fills the subtitle list with the loaded cues' text, the current row kept.
  void ShowCueListTexts();
  RolePaletteIndices CurrentRolePaletteIndices() const;
  // The reading and output choices as their controls hold them, and the
  // controls set to hold `choices`.
  ConversionChoices CurrentChoices() const;
  void ShowChoices(const ConversionChoices& choices);
  // The choices a load of the subtitle file `path` reads with. The shift and
  // the rate conversion belong to the film they were used with: a file other
  // than that film's starts without them.
  ConversionChoices ChoicesForLoad(const QString& path) const;
  // After a completed load of `path` with `used`: the shift and the rate
  // conversion shown are those its cues were read with, and belong to it.
  void KeepFilmChoices(const QString& path, const ConversionChoices& used);

  // The disc the window writes for, as ComboBoxTarget holds it. A Blu-ray
  // target draws the preview with libass and writes a Blu-ray stream; the
  // DVD's palette, colour roles, line gap and VobSub outputs are disabled
  // while it is chosen.
  DiscTarget CurrentTarget() const;
  bool BluRayChosen() const { return IsBluRay(CurrentTarget()); }
  void ComboBoxTargetChange();
  // Enables the Blu-ray files, frame rate and HDR choices for a Blu-ray
  // target; HDR only while no BDN XML is chosen, unless it is ticked, so
  // that it can be unticked; the forced style only with the file's own
  // styles.
  void ShowBluRayChoices();
  // Lists `styles` (a loaded script's) in the forced style's box after its
  // empty item, the name shown kept.
  void ShowForcedStyles(const std::vector<std::string>& styles);
  // A palette to draw with is in place: the DVD's from its IFO or the box for
  // none; a Blu-ray stream needs none.
  bool ColoursReady() const { return PaletteReady || BluRayChosen(); }
  // Draws lines read as `source` says, at `placement`, on the preview as
  // libass draws them on the Blu-ray frame, over the background, for a cue
  // of `durationMs`.
  void RenderHdPreviewCue(const std::vector<std::string>& lines, const CuePlacement& placement,
                          const TextSource& source, long long durationMs);

  // The preview's redraws and the style controls' change handlers.
  void RedrawPreviewSample(const QByteArray& line1, const QByteArray& line2);
  void RedrawPreviewSelected();
  void offsetChange();
  void offset_orChange();
  void ComboBox6Change();
  void ComboBox7Change();

  // Program-wide flags.
  bool PaletteReady = false;
  bool NoIfoChosen = false;
  bool MonochromeIfo = false;
  bool SubtitlesLoaded = false;
  bool AllLinesFit = true;
  // The loaded cues in time order, every line of each, and how their text
  // is read; the loaded file and the frame rate chosen for it when it gave
  // none, for a run and a change of reading choices, which read it again.
  std::vector<SubtitleEntry> LoadedCues;
  TextSource LoadedSource;
  QString LoadedEncoding;  // empty: the code page of the Font Charset
  QString LoadedPath;
  std::optional<ChosenFrameRate> LoadedFrameRate;
  bool FrameRateMissing = false;
  // The threads that draw and encode a generation run; the files are the
  // same for any count.
  int GenerationWorkers = WorkersPerCore();

  // Controls, by row.
  QLineEdit* Edit1;
  QPushButton* Button1;
  QLabel* Label2;
  QLabel* no_ifo;
  QCheckBox* i_dont_have_ifo;
  QRadioButton* Pal;
  QRadioButton* Ntsc;
  QLabel* Label3;
  QComboBox* ComboBox1;
  QCheckBox* CheckBox1;
  QLabel* Label4;
  QComboBox* ComboBox2;
  QCheckBox* CheckBox2;
  QLabel* Label5;
  QComboBox* ComboBox3;
  QCheckBox* CheckBox3;
  QLabel* Label6;
  QComboBox* ComboBox4;
  QCheckBox* CheckBox4;
  QFrame* Shape2;
  QLabel* Label1;
  QLabel* Info;
  QLabel* Label7;
  QLabel* colors;
  QPushButton* ButtonAbout;
  QPushButton* BitBtnSetDefaultValues;
  QPushButton* BitBtnChangeImage;
  QFrame* Shape1;
  QLineEdit* Edit2;
  QPushButton* Button2;
  QLabel* Label8;
  QComboBox* ComboBox5;
  QLabel* Label11;
  QComboBox* ComboBox7;
  QLabel* Label12;
  QComboBox* ComboBox8;
  QLabel* Label9;
  QComboBox* ComboBox6;
  QLabel* LabelAlign;
  QComboBox* ComboBoxAlign;
  QLabel* Label10;
  QSlider* offset;
  QLabel* LabelOffset;
  QSlider* offset_or;
  QLabel* LabelOffset_Or;
  QLabel* Label13;
  QComboBox* ComboBoxOutlineWidth;
  QProgressBar* ProgressBar1;
  QPushButton* Button3;
  QListWidget* ListBox1;
  PreviewControl* preview;
  QLabel* LabelEncoding;
  QComboBox* ComboBoxEncoding;
  QCheckBox* CheckBoxTagsAsText;
  QCheckBox* CheckBoxWrap;
  QCheckBox* CheckBoxStylesFromFile;
  QLabel* LabelShift;
  QSpinBox* SpinBoxShift;
  QLabel* LabelConvertFps;
  QLineEdit* EditConvertFps;
  QCheckBox* CheckBoxVobSub;
  QCheckBox* CheckBoxForced;
  QLabel* LabelTarget;
  QComboBox* ComboBoxTarget;
  QLabel* LabelBluRayFiles;
  QComboBox* ComboBoxBluRayFiles;
  QLabel* LabelVideoRate;
  QComboBox* ComboBoxVideoRate;
  QCheckBox* CheckBoxHdr;
  QLabel* LabelForcedStyle;
  QComboBox* ComboBoxForcedStyle;
  QLabel* LabelOutputName;
  QLineEdit* EditOutputName;
  QLabel* LabelImageChangedPAL;
  QLabel* LabelImageChangedNTSC;

  // Non-visual parts: the file dialogs.
  FileDialog OpenDialog1;
  FileDialog OpenDialog2;
  FileDialog OpenDialogImagePAL;
  FileDialog OpenDialogImageNTSC;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void SaveSettings();

 private:
  void createControls();
  void createChoiceControls();
  // Sets the preview's frame size and places it for the window's size.
  void SetPreviewFrame(QSize frame);
  // Places the preview, the choices column and the subtitle list for the
  // window's size.
  void PlaceFollowers();
  void connectHandlers();
  // Redraws the sample lines and then the selected subtitle, as far as a
  // palette and loaded subtitles allow; true when the selected one was drawn.
  bool StyleRedraw();
  void ShowPalette(const Palette& palette);
  // A loaded film read and planned: the file's cues as read, and the plan
  // of their subpictures.
  struct ReadFilm {
    LoadedFilm film;
    FilmPlan plan;
  };
  // The times as Shift ms and Convert fps change them; throws PlatformError
  // for a conversion that is not two frame rates.
  TimeChoices ChosenTimes() const;
  // Reads `path` with the reading choices in force. On the DVD a frame file
  // that names no rate is read at `rate` when it is set, or asks for one
  // when `askRate` and sets `rate`; on a Blu-ray target a frame file is read
  // at the video's chosen rate, and one that names no rate at the rate "Fps"
  // shows, which also sets `rate` when it is not set.
  LoadedFilm ReadFilmFile(const QString& path, std::optional<ChosenFrameRate>& rate, bool askRate);
  // The loaded file read and planned again with the choices in force.
  // Throws PlatformError for anything that stops it.
  ReadFilm RereadLoadedFilm();
  // Shows in one message what the load of `path` has to say, and returns the
  // message refusing its first cue that cannot be drawn whole, if any.
  QString ShowLoadReports(const ReadFilm& read, const QString& path);
  // Puts a completed load in place of the earlier one.
  void ShowLoadedSubtitles(const QString& path, const std::optional<ChosenFrameRate>& rate,
                           ReadFilm read);
  // Why the forced style chosen does not go with the loaded file as it is
  // drawn, as the converter says it in the window's terms; empty when it
  // does, or none is chosen.
  QString ForcedStyleRefusal() const;
  // Whatever a run needs besides the cues is in place; says what is missing.
  bool ReadyToGenerate();
  // Draws and writes the planned film with the controls frozen and the
  // progress shown; false when the run was stopped.
  bool RunGeneration(const ReadFilm& read, const RunTarget& target);
  // The same for the Blu-ray files of `run`; gives the run's notes, or
  // nothing when the run was stopped.
  std::optional<std::vector<std::string>> RunBluRayGeneration(const BluRayRun& run,
                                                              const BluRayFiles& files,
                                                              const PgsLook& look);
  // The look of a Blu-ray run with the choices in force.
  PgsLook CurrentPgsLook(const ConversionChoices& choices) const;
  // Lists the frame rates of the target's video, the one shown kept where
  // the video takes it, else its usual rate.
  void ShowVideoRates(DiscTarget target, const std::string& rate);
  // Ends a stopped run: closes the window if that was asked, or says so.
  void RunStopped();
  // Button3Click for a Blu-ray target: the loaded file read again, as
  // libass takes it or as cues, and written as NAME.sup, NAME.xml or both,
  // with the converter's notes and closing message.
  void GenerateBluRay();
  // During a run: steps the progress to subpicture `position` (from 0) and,
  // once a screen frame and for the last, shows it.
  void ShowRunProgress(std::size_t position, const ReadFilm& read, const SubtitleStyle& style);
  // The controls that could start a load, another run, or change the style,
  // the palette or the choices: disabled during a run.
  std::vector<QWidget*> ControlsOfChoice() const;
  // Connects a control's signal to a handler that runs inside the error guard.
  template <typename Sender, typename Signal, typename Handler>
  void onEvent(Sender* sender, Signal signal, Handler handler) {
    connect(sender, signal, this, [this, handler] { RunGuarded(platform_, handler); });
  }

  Platform& platform_;
  QString lastActivationError_;
  bool programReturning_ = false;
  bool generating_ = false;                   // a generation run is in progress
  std::atomic<bool> cancelRequested_{false};  // the run in progress is to stop
  bool closeAfterRun_ = false;                // the window closes once the stopped run has ended
  KeyFrameRenderer keyFrames_;
  // The glyphs the preview has drawn, for its next redraws.
  GlyphCache previewGlyphs_;
  EncodeArea encodeArea_;
  BuiltInPictures pictures_;
  Palette palette_;
  SwatchRow swatches_;
  QWidget* about_ = nullptr;
  // Whether Button1, Pal and Ntsc were enabled when a Blu-ray target took
  // them away: the DVD target gives them back as they were.
  std::vector<std::pair<QWidget*, bool>> dvdOnlyStates_;
  // The controls of the choices column with their places at the design size.
  std::vector<std::pair<QWidget*, QPoint>> choicePlaces_;
  // The subtitle file the shown shift and rate conversion were used with;
  // empty before the first load and after the defaults button.
  QString filmFile_;
  QString settingsPath_;
  IniFile settings_;
  bool settingsRestored_ = false;
  bool settingsSaved_ = false;
};

}  // namespace tesmora
