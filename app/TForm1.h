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
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/FileLineStore.h"
#include "app/IniFile.h"
#include "app/LineStore.h"
#include "app/Pictures.h"
#include "app/PreviewControl.h"
#include "app/SwatchRow.h"
#include "palette/Palette.h"
#include "platform/Platform.h"
#include "render/GlyphCache.h"
#include "render/KeyFrameRenderer.h"
#include "render/OutlinedLine.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/ConversionChoices.h"
#include "subtitles/FileText.h"
#include "subtitles/LineList.h"
#include "subtitles/SubtitleList.h"
#include "sup/EncodeArea.h"
#include "sup/FrameBitmap.h"
#include "sup/ParallelUnits.h"
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
                        const SubtitleStyle& style);
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

  // Loading subtitles and generating the subpicture stream.
  void Button2Click();
  void Button3Click();
  // Puts a completed load into the lists: the file's lines, the entries and
  // the list texts, in place of the earlier load's.
  void ShowLoadedSubtitles(std::string fileText, const SubtitleReadResult& result,
                           const FileText& text);
  // Fills the subtitle list with the loaded cues' text, decoded in the Font
  // Charset's code page for an 8-bit file, the current row kept.
  void ShowCueListTexts();
  RolePaletteIndices CurrentRolePaletteIndices() const;
  // The reading and output choices as their controls hold them, and the
  // controls set to hold `choices`.
  ConversionChoices CurrentChoices() const;
  void ShowChoices(const ConversionChoices& choices);

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
  // The loaded cues, every line of each, and how their text is read; Memo2
  // to Memo5 hold their times and first two lines for what reads those.
  std::vector<SubtitleEntry> LoadedCues;
  TextSource LoadedSource;
  QString LoadedEncoding;  // empty: the code page of the Font Charset
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
  FileLineStore* Memo1;
  LineStore* Memo2;
  LineStore* Memo3;
  LineStore* Memo4;
  LineStore* Memo5;
  QLabel* LabelEncoding;
  QComboBox* ComboBoxEncoding;
  QCheckBox* CheckBoxTagsAsText;
  QCheckBox* CheckBoxWrap;
  QLabel* LabelShift;
  QSpinBox* SpinBoxShift;
  QLabel* LabelConvertFps;
  QLineEdit* EditConvertFps;
  QCheckBox* CheckBoxVobSub;
  QCheckBox* CheckBoxForced;
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
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void SaveSettings();

 private:
  void createControls();
  void createChoiceControls();
  // Sets the preview's frame size and places it for the window's size.
  void SetPreviewFrame(QSize frame);
  // Places the preview and the subtitle list for the window's size.
  void PlaceFollowers();
  void connectHandlers();
  // Redraws the sample lines and then the selected subtitle, as far as a
  // palette and loaded subtitles allow; true when the selected one was drawn.
  bool StyleRedraw();
  void ShowPalette(const Palette& palette);
  // Connects a control's signal to a handler that runs inside the error guard.
  template <typename Sender, typename Signal, typename Handler>
  void onEvent(Sender* sender, Signal signal, Handler handler) {
    connect(sender, signal, this, [this, handler] { RunGuarded(platform_, handler); });
  }

  Platform& platform_;
  QString lastActivationError_;
  bool programReturning_ = false;
  bool generating_ = false;  // a generation run is in progress
  KeyFrameRenderer keyFrames_;
  // The glyphs the preview has drawn, for its next redraws.
  GlyphCache previewGlyphs_;
  EncodeArea encodeArea_;
  BuiltInPictures pictures_;
  Palette palette_;
  SwatchRow swatches_;
  QWidget* about_ = nullptr;
  QString settingsPath_;
  IniFile settings_;
  bool settingsRestored_ = false;
  bool settingsSaved_ = false;
};

}  // namespace tesmora
