#include "app/TForm1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>

#include "app/DroppedFile.h"
#include "app/FontList.h"
#include "app/Pictures.h"
#include "app/Settings.h"
#include "app/WindowFit.h"
#include "files/FileAccess.h"

namespace tesmora {
namespace {

constexpr QSize kPalFrame(720, 576);
constexpr QSize kNtscFrame(720, 480);

// An Arial-compatible face at 8 points of a 96 dpi screen, as the About
// window uses: its widths are close to those the captions were laid out for,
// where the desktop's default sans serif runs wider and cuts them.
QFont WindowFont() {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

}  // namespace

TForm1::TForm1(Platform& platform, const QString& settingsPath, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      platform_(platform),
      settingsPath_(settingsPath) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tesmora By Ovandel"));
  setWindowIcon(QIcon(QPixmap::fromImage(BuiltInPicture(QStringLiteral("tesmora")))));
  setFont(WindowFont());
  // The program as a whole becomes active first, and the window it gives
  // the focus to is activated during the same event; an activation of this
  // window right after the program's return is no return from another of
  // its windows.
  connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive) {
              programReturning_ = true;
              QTimer::singleShot(0, this, [this] { programReturning_ = false; });
            }
          });
  setAcceptDrops(true);
  setMinimumSize(MinimumClientSize());
  resize(kDesignClientSize);
  createControls();
  connectHandlers();
  FormCreate(this);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    FitToArea(screen->availableGeometry());
  }
}

// Before the window is first shown its frame is not known yet; a title bar
// and thin borders of the style's size stand in for it.
void TForm1::FitToArea(const QRect& available) {
  const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QMargins frame = frameGeometry() != geometry()
                             ? QMargins(geometry().left() - frameGeometry().left(),
                                        geometry().top() - frameGeometry().top(),
                                        frameGeometry().right() - geometry().right(),
                                        frameGeometry().bottom() - geometry().bottom())
                             : QMargins(border, title + border, border, border);
  resize(FittedClientSize(available.size(), frame));
  // A hidden window gets its resize event only when shown.
  PlaceFollowers();
  move(available.center() - QRect(QPoint(), size().grownBy(frame)).center());
}

void TForm1::SetPreviewFrame(QSize frame) {
  preview->setFrameSize(frame);
  preview->setGeometry(PreviewPlace(size(), frame));
}

void TForm1::PlaceFollowers() {
  preview->setGeometry(PreviewPlace(size(), preview->frameSize()));
  const QPoint shift = ChoicesShift(size());
  for (const auto& [choice, designPlace] : choicePlaces_) {
    choice->move(designPlace + shift);
  }
  ListBox1->setGeometry(SubtitleListPlace(size()));
  // The line under the palette row spans the window.
  Shape1->resize(width() - 2 * Shape1->x(), Shape1->height());
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceFollowers();
}

void TForm1::connectHandlers() {
  onEvent(BitBtnSetDefaultValues, &QPushButton::clicked,
          [this] { FormCreate(BitBtnSetDefaultValues); });
  onEvent(BitBtnChangeImage, &QPushButton::clicked, [this] { BitBtnChangeImageClick(); });
  onEvent(ButtonAbout, &QPushButton::clicked, [this] { ButtonAboutClick(); });
  // A radio button's handler runs when it becomes checked, also when the
  // program checks it.
  connect(Pal, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) {
      RunGuarded(platform_, [this] { PalClick(); });
    }
  });
  connect(Ntsc, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) {
      RunGuarded(platform_, [this] { NtscClick(); });
    }
  });

  // Palette and colour roles. A drop-down list's handler runs on the user's
  // choice only; a check box's on every change of state.
  onEvent(Button1, &QPushButton::clicked, [this] { Button1Click(); });
  connect(i_dont_have_ifo, &QCheckBox::toggled, this, [this](bool checked) {
    RunGuarded(platform_, [this, checked] { i_dont_have_ifoClick(checked); });
  });
  for (QComboBox* role : {ComboBox1, ComboBox2, ComboBox3, ComboBox4}) {
    onEvent(role, &QComboBox::activated, [this] { ComboBox1Change(); });
  }
  // The list's handler runs on every click, also on the entry already
  // selected (an activation clears the preview), and when the selection moves
  // by keyboard or by the program. A mouse press that moves the selection
  // leaves the drawing to the click that follows it, so one click draws once.
  onEvent(ListBox1, &QListWidget::itemClicked, [this] { ListBox1Click(); });
  connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && QGuiApplication::mouseButtons() == Qt::NoButton) {
      RunGuarded(platform_, [this] { ListBox1Click(); });
    }
  });

  // Subtitles and the generation run.
  onEvent(Button2, &QPushButton::clicked, [this] { Button2Click(); });
  onEvent(Button3, &QPushButton::clicked, [this] { Button3Click(); });
  // How the loaded file's text is read: a change, also by the program, reads
  // it again, so that the list, the preview and a run show the choice.
  onEvent(ComboBoxEncoding, &QComboBox::currentIndexChanged, [this] { ReadingChoiceChange(); });
  for (QCheckBox* reading : {CheckBoxTagsAsText, CheckBoxWrap, CheckBoxStylesFromFile}) {
    onEvent(reading, &QCheckBox::toggled, [this] { ReadingChoiceChange(); });
  }

  // The target, also when the program sets it (settings, defaults), so that
  // the controls that apply and the preview always follow it.
  onEvent(ComboBoxTarget, &QComboBox::currentIndexChanged, [this] { ComboBoxTargetChange(); });
  onEvent(ComboBoxBluRayFiles, &QComboBox::currentIndexChanged, [this] { ShowBluRayChoices(); });
  onEvent(CheckBoxHdr, &QCheckBox::toggled, [this] { ShowBluRayChoices(); });
  onEvent(CheckBoxStylesFromFile, &QCheckBox::toggled, [this] { ShowBluRayChoices(); });
  // A frame file's frames are counted at the Blu-ray video's rate.
  onEvent(ComboBoxVideoRate, &QComboBox::currentIndexChanged, [this] { FrameRateChoiceChange(); });

  // Style controls.
  onEvent(offset, &QSlider::valueChanged, [this] { offsetChange(); });
  onEvent(ComboBoxAlign, &QComboBox::activated, [this] { offsetChange(); });
  onEvent(offset_or, &QSlider::valueChanged, [this] { offset_orChange(); });
  for (QComboBox* style : {ComboBox5, ComboBox6, ComboBox8, ComboBoxOutlineWidth}) {
    onEvent(style, &QComboBox::activated, [this] { ComboBox6Change(); });
  }
  onEvent(ComboBox7, &QComboBox::activated, [this] { ComboBox7Change(); });
}

void TForm1::FormCreate(QObject* sender) {
  for (QComboBox* role : {ComboBox1, ComboBox2, ComboBox3, ComboBox4}) {
    role->setCurrentIndex(role->findText(QStringLiteral("Color 0")));
  }
  ComboBox8->setCurrentIndex(0);
  ComboBox6->setCurrentIndex(8);
  ComboBox7->setCurrentIndex(4);
  ComboBoxAlign->setCurrentIndex(ComboBoxAlign->findText(QStringLiteral("center")));
  offset->setValue(30);
  offset_or->setValue(-4);
  ComboBoxOutlineWidth->setCurrentIndex(1);
  colors->setPixmap(QPixmap::fromImage(BuiltInPicture(QStringLiteral("colors"))));
  SetPreviewFrame(kPalFrame);
  if (sender == this) {
    ComboBox5->addItems(FontNameItems());
  }
  ComboBox5->setCurrentIndex(0);
  PaletteReady = false;
  SubtitlesLoaded = false;
  AllLinesFit = true;
  NoIfoChosen = false;
  // The reading and output choices too, the film's shift and rate
  // conversion with them.
  ShowChoices(ConversionChoices{});
  filmFile_.clear();
  LabelOffset->setText(QString::number(offset->value()));
  LabelOffset->adjustSize();
  LabelOffset_Or->setText(QString::number(offset_or->value()));
  LabelOffset_Or->adjustSize();
  if (sender == BitBtnSetDefaultValues) {
    LabelImageChangedPAL->clear();
    LabelImageChangedNTSC->clear();
    LoadPreviewBackground();
    i_dont_have_ifo->setChecked(false);
  }
}

void TForm1::LoadPreviewBackground() {
  const auto load = [this](QSize frame, const QString& path, const QString& builtIn) {
    SetPreviewFrame(frame);
    if (PathExists(path)) {
      preview->setPicture(LoadPictureFile(path).convertToFormat(QImage::Format_RGB888));
    } else {
      preview->setPicture(pictures_.get(builtIn, QImage::Format_RGB888));
    }
  };
  if (Pal->isChecked()) {
    load(kPalFrame, LabelImageChangedPAL->text(), QStringLiteral("PreviewPal720x576"));
  }
  if (Ntsc->isChecked()) {
    load(kNtscFrame, LabelImageChangedNTSC->text(), QStringLiteral("PreviewNtsc720x480"));
  }
}

void TForm1::PalClick() {
  LoadPreviewBackground();
}

void TForm1::NtscClick() {
  LoadPreviewBackground();
}

void TForm1::ButtonAboutClick() {
  if (about_ != nullptr) {
    about_->show();
    about_->raise();
    about_->activateWindow();
  }
}

void TForm1::BitBtnChangeImageClick() {
  if (platform_.runOpenDialog(OpenDialogImagePAL)) {
    LabelImageChangedPAL->setText(OpenDialogImagePAL.fileName);
    LoadPreviewBackground();
  }
  if (platform_.runOpenDialog(OpenDialogImageNTSC)) {
    LabelImageChangedNTSC->setText(OpenDialogImageNTSC.fileName);
    LoadPreviewBackground();
  }
}

// Text is drawn unsmoothed by the rasteriser itself, so unlike on desktops
// with a system-wide font smoothing switch there is nothing to turn off here:
// activation only reloads the background. It runs when the window becomes
// the program's active window, coming back from the About window or a
// dialog, not when the user returns from another program.
void TForm1::FormActivate() {
  LoadPreviewBackground();
}

// Closing an error box activates the window again. When an own picture
// cannot be loaded, every activation fails the same way, so an error that
// repeats the one shown at the previous activation is not shown again:
// otherwise the user could never get past the box.
bool TForm1::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !programReturning_) {
    try {
      FormActivate();
      lastActivationError_.clear();
    } catch (const std::exception& error) {
      const QString text = QString::fromStdString(error.what());
      if (text != lastActivationError_) {
        lastActivationError_ = text;
        platform_.showError(text);
      }
    }
  }
  return QWidget::event(event);
}

// Shown for the first time: the stored settings go over the defaults, and
// the preview gets its background even where no window manager activates the
// window.
void TForm1::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) {
    return;
  }
  if (!settingsRestored_ && !settingsPath_.isEmpty()) {
    settingsRestored_ = true;
    QFile file;
    if (OpenForReading(file, settingsPath_)) {
      settings_ = IniFile::Parse(file.readAll());
    }
    RunGuarded(platform_, [this] { RestoreSettings(*this, settings_); });
  }
  if (preview->picture().isNull()) {
    RunGuarded(platform_, [this] { LoadPreviewBackground(); });
  }
}

TForm1::~TForm1() {
  SaveSettings();
}

void TForm1::SaveSettings() {
  if (settingsPath_.isEmpty() || settingsSaved_) {
    return;
  }
  settingsSaved_ = true;
  StoreSettings(*this, settings_);
}

std::optional<QString> TForm1::FlushSettings() {
  if (settingsPath_.isEmpty()) {
    return std::nullopt;
  }
  SaveSettings();
  const std::optional<QString> failure = ReplaceFile(settingsPath_, settings_.text());
  if (!failure) {
    return std::nullopt;
  }
  return QStringLiteral("The settings could not be saved to ") + settingsPath_ +
         QStringLiteral(": ") + *failure;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  // The cues and the palette stay as they are while a run draws them.
  if (!generating_ && FileToLoad(event->mimeData()->urls())) {
    event->acceptProposedAction();
  }
}

void TForm1::dropEvent(QDropEvent* event) {
  const std::optional<DroppedFile> file = FileToLoad(event->mimeData()->urls());
  if (generating_ || !file) {
    return;
  }
  event->acceptProposedAction();
  LoadFile(*file);
}

void TForm1::LoadFile(const DroppedFile& file) {
  platform_.chooseNextFile(file.path);
  if (file.kind == DroppedKind::Subtitles) {
    RunGuarded(platform_, [this] { Button2Click(); });
  } else if (BluRayChosen()) {
    // Its button is disabled: a Blu-ray stream takes no IFO palette.
    platform_.showMessage(QStringLiteral(
        "An Ifo palette is for the DVD target only; choose DVD as the Target to load it."));
  } else {
    RunGuarded(platform_, [this] { Button1Click(); });
  }
  platform_.chooseNextFile(std::nullopt);
}

// Closing the main window ends the program, also while the About window is open.
void TForm1::closeEvent(QCloseEvent* event) {
  if (generating_) {
    // The window stays until the run has stopped and removed what it began.
    event->ignore();
    if (platform_.askYesNo(QStringLiteral(
            "A run is writing the subtitles. Stop it and close? Nothing of it is written."))) {
      closeAfterRun_ = true;
      CancelGeneration();
    }
    return;
  }
  event->accept();
  SaveSettings();
  QCoreApplication::quit();
}

}  // namespace tesmora
