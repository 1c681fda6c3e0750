// The main window's controls: names, kinds, positions, captions and item
// lists. Positions are client pixels of the window at its design size; the
// preview, the choices column and the subtitle list follow the window's size.
#include <QFont>
#include <initializer_list>

#include "app/PictureButton.h"
#include "app/Pictures.h"
#include "app/TForm1.h"
#include "app/WindowFit.h"
#include "subtitles/SubtitleFormats.h"

namespace tesmora {
namespace {

template <typename Control>
Control* Place(Control* control, const char* name, int x, int y, int width = -1, int height = -1) {
  control->setObjectName(QString::fromLatin1(name));
  if (width < 0) {
    control->adjustSize();
    control->move(x, y);
  } else {
    control->setGeometry(x, y, width, height);
  }
  return control;
}

// A label sizes itself to its text; only word-wrapped labels keep the size
// they are given.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
  return Place(new QLabel(text, parent), name, x, y);
}

QLabel* MakeWrappedLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                         int width, int height) {
  auto* label = Place(new QLabel(text, parent), name, x, y, width, height);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

// Check boxes and radio buttons keep their place but grow when the desktop's
// font needs more room for the caption than the layout gives.
template <typename Button>
Button* FitCaption(Button* button) {
  const int needed = button->sizeHint().width();
  if (needed > button->width()) {
    button->resize(needed, button->height());
  }
  return button;
}

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items, int x, int y,
                    int width, int height) {
  auto* list = new QComboBox(parent);
  list->addItems(items);
  return Place(list, name, x, y, width, height);
}

QStringList ColourItems() {
  QStringList items;
  for (int i = 0; i < 16; ++i) {
    items << QStringLiteral("Color %1").arg(i);
  }
  return items;
}

QLineEdit* MakeFlatEdit(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* edit = new QLineEdit(text, parent);
  edit->setFrame(false);
  edit->setEnabled(false);
  // A long path shows only its start; the tooltip holds all of it.
  QObject::connect(edit, &QLineEdit::textChanged, edit, &QLineEdit::setToolTip);
  edit->setToolTip(text);
  return Place(edit, name, x, y, 84, 15);
}

QPushButton* MakePictureButton(QWidget* parent, const char* name, const QString& picture, int x,
                               int y) {
  auto* button = new PictureButton(BuiltInPicture(picture), parent);
  button->setIconSize(QSize(46, 20));
  return Place(button, name, x, y, 54, 25);
}

QCheckBox* MakeTransparentBox(QWidget* parent, const char* name, int x, bool checked) {
  auto* box = new QCheckBox(QStringLiteral("Trasparent"), parent);
  box->setChecked(checked);
  box->setEnabled(false);
  return FitCaption(Place(box, name, x, 37, 73, 17));
}

}  // namespace

void TForm1::createControls() {
  // The palette row.
  Edit1 = MakeFlatEdit(this, "Edit1", QStringLiteral("Load IFO"), 8, 5);
  Button1 = Place(new QPushButton(QStringLiteral("&Load Ifo"), this), "Button1", 8, 20, 84, 20);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Ifo Colors:"), 8, 52);
  no_ifo = MakeWrappedLabel(this, "no_ifo",
                            QStringLiteral("     I dont have any Ifo or my Ifo hasnt sup support"),
                            94, 0, 96, 39);
  // Only the box of the check box shows; the label above explains it.
  i_dont_have_ifo = Place(new QCheckBox(this), "i_dont_have_ifo", 94, 0, 15, 17);
  i_dont_have_ifo->setAccessibleName(QStringLiteral("polycromatic"));
  Pal = FitCaption(Place(new QRadioButton(QStringLiteral("Pal"), this), "Pal", 94, 39, 41, 14));
  Pal->setChecked(true);
  Pal->setEnabled(false);
  Ntsc = FitCaption(Place(new QRadioButton(QStringLiteral("Ntsc"), this), "Ntsc", 136, 39, 41, 14));
  Ntsc->setEnabled(false);

  const QStringList colourItems = ColourItems();
  Label3 = MakeLabel(this, "Label3", QStringLiteral("Antialias Color"), 196, 0);
  ComboBox1 = MakeList(this, "ComboBox1", colourItems, 196, 16, 81, 21);
  CheckBox1 = MakeTransparentBox(this, "CheckBox1", 196, false);
  Label4 = MakeLabel(this, "Label4", QStringLiteral("Outine Color"), 284, 0);
  ComboBox2 = MakeList(this, "ComboBox2", colourItems, 284, 16, 81, 21);
  CheckBox2 = MakeTransparentBox(this, "CheckBox2", 284, false);
  Label5 = MakeLabel(this, "Label5", QStringLiteral("Text Color"), 372, 0);
  ComboBox3 = MakeList(this, "ComboBox3", colourItems, 372, 16, 81, 21);
  CheckBox3 = MakeTransparentBox(this, "CheckBox3", 372, false);
  Label6 = MakeLabel(this, "Label6", QStringLiteral("Background Color"), 460, 0);
  ComboBox4 = MakeList(this, "ComboBox4", colourItems, 460, 16, 81, 21);
  CheckBox4 = MakeTransparentBox(this, "CheckBox4", 460, true);

  Shape2 = Place(new QFrame(this), "Shape2", 552, 2, 100, 82);
  Shape2->setFrameShape(QFrame::Box);
  Shape2->setLineWidth(1);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("ATTENTION"), 562, 2);
  Label1->setStyleSheet(QStringLiteral("color: red;"));
  Info = MakeWrappedLabel(
      this, "Info",
      QStringLiteral("For Antialias ,Outline and Text color please dont pick a blue color."), 554,
      16, 96, 67);
  Label7 = MakeLabel(this, "Label7", QStringLiteral("Colors Example"), 664, 0);
  colors = Place(new QLabel(this), "colors", 664, 14, 73, 73);
  colors->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  ButtonAbout =
      Place(new QPushButton(QStringLiteral("About"), this), "ButtonAbout", 745, 4, 54, 25);
  BitBtnSetDefaultValues = MakePictureButton(this, "BitBtnSetDefaultValues",
                                             QStringLiteral("SetDefaultValues"), 745, 32);
  BitBtnChangeImage =
      MakePictureButton(this, "BitBtnChangeImage", QStringLiteral("ChangeImages"), 744, 60);
  BitBtnSetDefaultValues->setToolTip(QStringLiteral("Set the style and colour choices back"));
  BitBtnChangeImage->setToolTip(
      QStringLiteral("Choose your own preview pictures: PAL 720x576, then NTSC 720x480"));

  Shape1 = Place(new QFrame(this), "Shape1", 8, 85, 944, 2);
  Shape1->setStyleSheet(QStringLiteral("background: black; border-radius: 1px;"));

  // The style row.
  Edit2 = MakeFlatEdit(this, "Edit2", QStringLiteral("Load SRT"), 8, 88);
  Button2 =
      Place(new QPushButton(QStringLiteral("Load &Srt ,Sub"), this), "Button2", 8, 106, 84, 18);
  Label8 = MakeLabel(this, "Label8", QStringLiteral("Font Name"), 96, 88);
  ComboBox5 = MakeList(this, "ComboBox5", {}, 96, 102, 100, 21);
  Label11 = MakeLabel(this, "Label11", QStringLiteral("Font Charset"), 204, 88);
  ComboBox7 = MakeList(this, "ComboBox7",
                       {"ANSI", "ARABIC", "BALTIC", "CHINESEBIG5", "DEFAULT", "EASTEUROPE",
                        "GB2312", "GREEK", "HANGEUL", "HEBREW", "JOHAB", "MAC", "OEM", "RUSSIAN",
                        "SHIFTJIS", "SYMBOL", "THAI", "TURKISH", "VIETNAMESE"},
                       204, 102, 100, 22);
  Label12 = MakeLabel(this, "Label12", QStringLiteral("Font Style"), 312, 88);
  ComboBox8 = MakeList(this, "ComboBox8",
                       {"Normal", "Bold", "Italic", "Underline", "Bold+Italic", "Bold+Under",
                        "Bold+It+Und", "Italic+Under", "StrikeOut"},
                       312, 102, 90, 22);
  Label9 = MakeLabel(this, "Label9", QStringLiteral("Font Size"), 410, 88);
  ComboBox6 = MakeList(this, "ComboBox6", {"10", "12", "14", "16", "18", "19", "20", "21", "22",
                                           "23", "24", "25", "26", "28", "30", "32", "34", "36",
                                           "38", "40", "42", "44", "46", "48", "50"},
                       410, 102, 48, 21);
  LabelAlign = MakeLabel(this, "LabelAlign", QStringLiteral("Align"), 466, 88);
  ComboBoxAlign = MakeList(this, "ComboBoxAlign", {"center", "left", "right"}, 466, 102, 60, 22);
  Label10 = MakeLabel(this, "Label10", QStringLiteral("Offsets"), 534, 88);

  offset = Place(new QSlider(Qt::Horizontal, this), "offset", 534, 108, 70, 17);
  offset->setRange(8, 492);
  offset->setValue(30);
  offset->setTickPosition(QSlider::NoTicks);
  offset->setToolTip(QStringLiteral("Height of the subtitle above the bottom of the frame"));
  LabelOffset = MakeLabel(this, "LabelOffset", QString(), 576, 88);
  LabelOffset->setEnabled(false);
  // A vertical slider with its lowest position at the top.
  offset_or = Place(new QSlider(Qt::Vertical, this), "offset_or", 612, 90, 15, 36);
  offset_or->setRange(-14, 10);
  offset_or->setValue(-4);
  offset_or->setInvertedAppearance(true);
  offset_or->setInvertedControls(true);
  offset_or->setTickPosition(QSlider::NoTicks);
  offset_or->setToolTip(QStringLiteral("Space between the two lines: up for more, down for less"));
  LabelOffset_Or = MakeLabel(this, "LabelOffset_Or", QString(), 630, 101);
  LabelOffset_Or->setEnabled(false);

  Label13 = MakeLabel(this, "Label13", QStringLiteral("Outline"), 660, 88);
  ComboBoxOutlineWidth = MakeList(this, "ComboBoxOutlineWidth", {"2", "3", "4"}, 660, 102, 44, 21);
  ProgressBar1 = Place(new QProgressBar(this), "ProgressBar1", 712, 91, 84, 15);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setToolTip(QStringLiteral("ProgressBar"));
  Button3 =
      Place(new QPushButton(QStringLiteral("&Generate Sup"), this), "Button3", 712, 106, 84, 18);
  // The subtitle list runs down beside the preview, with room for many cues.
  ListBox1 = Place(new QListWidget(this), "ListBox1", 804, kChoicesBottom, 148,
                   kDesignClientSize.height() - kChoicesBottom - 3);
  ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListBox1->setTextElideMode(Qt::ElideRight);
  ListBox1->setFrameShape(QFrame::Box);

  createChoiceControls();
  for (QWidget* choice : std::initializer_list<QWidget*>{LabelEncoding,
                                                         ComboBoxEncoding,
                                                         CheckBoxTagsAsText,
                                                         CheckBoxWrap,
                                                         CheckBoxStylesFromFile,
                                                         LabelShift,
                                                         SpinBoxShift,
                                                         LabelConvertFps,
                                                         EditConvertFps,
                                                         LabelTarget,
                                                         ComboBoxTarget,
                                                         CheckBoxVobSub,
                                                         LabelBluRayFiles,
                                                         ComboBoxBluRayFiles,
                                                         LabelVideoRate,
                                                         ComboBoxVideoRate,
                                                         CheckBoxHdr,
                                                         LabelForcedStyle,
                                                         ComboBoxForcedStyle,
                                                         CheckBoxForced,
                                                         LabelOutputName,
                                                         EditOutputName}) {
    choicePlaces_.emplace_back(choice, choice->pos());
  }

  preview = Place(new PreviewControl(this), "preview", 40, 126, 720, 576);

  LabelImageChangedPAL = MakeLabel(this, "LabelImageChangedPAL", QString(), 43, 456);
  LabelImageChangedPAL->hide();
  LabelImageChangedNTSC = MakeLabel(this, "LabelImageChangedNTSC", QString(), 51, 488);
  LabelImageChangedNTSC->hide();

  OpenDialog1 = {QString(), QStringLiteral("ifo|*.ifo"), QString(), QString()};
  // Every extension of the subtitle formats read, twice: "name|pattern".
  const QString subtitlePattern = QString::fromStdString(FileDialogPattern());
  OpenDialog2 = {QString(), subtitlePattern + u'|' + subtitlePattern, QString(), QString()};
  OpenDialogImagePAL = {QStringLiteral("Load 720x576 PAL image"),
                        QStringLiteral("Load your PAL 720x576 BMP|*.bmp"), QString(), QString()};
  OpenDialogImageNTSC = {QStringLiteral("Load 720x480 NTSC image"),
                         QStringLiteral("Load your NTSC 720x480 BMP|*.bmp"), QString(), QString()};
}

}  // namespace tesmora
