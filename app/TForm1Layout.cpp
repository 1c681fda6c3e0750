// The main window's controls: names, kinds, positions, captions and item
// lists. Positions are client pixels of the fixed 803 x 705 window.
#include <QFont>
#include <QIcon>

#include "app/Pictures.h"
#include "app/TForm1.h"

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
  return Place(edit, name, x, y, 84, 15);
}

QPushButton* MakePictureButton(QWidget* parent, const char* name, const QString& picture, int x,
                               int y) {
  auto* button = new QPushButton(parent);
  button->setIcon(QIcon(QPixmap::fromImage(BuiltInPicture(picture))));
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
  Button1 = Place(new QPushButton(QStringLiteral("Load Ifo"), this), "Button1", 8, 20, 84, 20);
  Label2 = MakeLabel(this, "Label2", QStringLiteral("Ifo Colors:"), 8, 52);
  no_ifo = MakeWrappedLabel(this, "no_ifo",
                            QStringLiteral("     I dont have any Ifo or my Ifo hasnt sup support"),
                            94, 0, 84, 39);
  // Only the box of the check box shows; the label above explains it.
  i_dont_have_ifo = Place(new QCheckBox(this), "i_dont_have_ifo", 94, 0, 15, 17);
  i_dont_have_ifo->setAccessibleName(QStringLiteral("polycromatic"));
  Pal = FitCaption(Place(new QRadioButton(QStringLiteral("Pal"), this), "Pal", 94, 38, 41, 15));
  Pal->setChecked(true);
  Pal->setEnabled(false);
  Ntsc = FitCaption(Place(new QRadioButton(QStringLiteral("Ntsc"), this), "Ntsc", 136, 38, 41, 15));
  Ntsc->setEnabled(false);

  const QStringList colourItems = ColourItems();
  Label3 = MakeLabel(this, "Label3", QStringLiteral("Antialias Color"), 184, 0);
  ComboBox1 = MakeList(this, "ComboBox1", colourItems, 184, 16, 81, 21);
  CheckBox1 = MakeTransparentBox(this, "CheckBox1", 184, false);
  Label4 = MakeLabel(this, "Label4", QStringLiteral("Outine Color"), 272, 0);
  ComboBox2 = MakeList(this, "ComboBox2", colourItems, 272, 16, 81, 21);
  CheckBox2 = MakeTransparentBox(this, "CheckBox2", 272, false);
  Label5 = MakeLabel(this, "Label5", QStringLiteral("Text Color"), 360, 0);
  ComboBox3 = MakeList(this, "ComboBox3", colourItems, 360, 16, 81, 21);
  CheckBox3 = MakeTransparentBox(this, "CheckBox3", 360, false);
  Label6 = MakeLabel(this, "Label6", QStringLiteral("Background Color"), 448, 0);
  ComboBox4 = MakeList(this, "ComboBox4", colourItems, 448, 16, 81, 21);
  CheckBox4 = MakeTransparentBox(this, "CheckBox4", 448, true);

  Shape2 = Place(new QFrame(this), "Shape2", 580, 2, 80, 82);
  Shape2->setFrameShape(QFrame::Box);
  Shape2->setLineWidth(1);
  Label1 = MakeLabel(this, "Label1", QStringLiteral("ATTENTION"), 590, 2);
  Label1->setStyleSheet(QStringLiteral("color: red;"));
  Info = MakeWrappedLabel(
      this, "Info",
      QStringLiteral("For Antialias ,Outline and Text color please dont pick a blue color."), 582,
      14, 78, 65);
  Label7 = MakeLabel(this, "Label7", QStringLiteral("Colors Example"), 664, 0);
  colors = Place(new QLabel(this), "colors", 664, 14, 73, 73);
  colors->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  ButtonAbout =
      Place(new QPushButton(QStringLiteral("About"), this), "ButtonAbout", 745, 4, 54, 25);
  BitBtnSetDefaultValues = MakePictureButton(this, "BitBtnSetDefaultValues",
                                             QStringLiteral("SetDefaultValues"), 745, 32);
  BitBtnChangeImage =
      MakePictureButton(this, "BitBtnChangeImage", QStringLiteral("ChangeImages"), 744, 60);

  Shape1 = Place(new QFrame(this), "Shape1", 8, 85, 786, 2);
  Shape1->setStyleSheet(QStringLiteral("background: black; border-radius: 1px;"));

  // The style row.
  Edit2 = MakeFlatEdit(this, "Edit2", QStringLiteral("Load SRT"), 8, 88);
  Button2 =
      Place(new QPushButton(QStringLiteral("Load Srt ,Sub"), this), "Button2", 8, 106, 84, 18);
  Label8 = MakeLabel(this, "Label8", QStringLiteral("Font Name"), 96, 88);
  ComboBox5 = MakeList(this, "ComboBox5", {}, 96, 102, 81, 21);
  Label11 = MakeLabel(this, "Label11", QStringLiteral("Font Charset"), 184, 88);
  ComboBox7 = MakeList(this, "ComboBox7",
                       {"ANSI", "ARABIC", "BALTIC", "CHINESEBIG5", "DEFAULT", "EASTEUROPE",
                        "GB2312", "GREEK", "HANGEUL", "HEBREW", "JOHAB", "MAC", "OEM", "RUSSIAN",
                        "SHIFTJIS", "SYMBOL", "THAI", "TURKISH", "VIETNAMESE"},
                       184, 102, 81, 22);
  Label12 = MakeLabel(this, "Label12", QStringLiteral("Font Style"), 272, 88);
  ComboBox8 = MakeList(this, "ComboBox8",
                       {"Normal", "Bold", "Italic", "Underline", "Bold+Italic", "Bold+Under",
                        "Bold+It+Und", "Italic+Under", "StrikeOut"},
                       272, 102, 81, 22);
  Label9 = MakeLabel(this, "Label9", QStringLiteral("Font Size"), 356, 88);
  ComboBox6 = MakeList(this, "ComboBox6", {"10", "12", "14", "16", "18", "19", "20", "21", "22",
                                           "23", "24", "25", "26", "28", "30", "32", "34", "36",
                                           "38", "40", "42", "44", "46", "48", "50"},
                       356, 102, 40, 21);
  LabelAlign = MakeLabel(this, "LabelAlign", QStringLiteral("Align"), 406, 88);
  ComboBoxAlign = MakeList(this, "ComboBoxAlign", {"center", "left", "right"}, 402, 102, 55, 22);
  Label10 = MakeLabel(this, "Label10", QStringLiteral("Offsets"), 468, 88);

  offset = Place(new QSlider(Qt::Horizontal, this), "offset", 456, 108, 60, 17);
  offset->setRange(8, 492);
  offset->setValue(30);
  offset->setTickPosition(QSlider::NoTicks);
  LabelOffset = MakeLabel(this, "LabelOffset", QString(), 459, 97);
  LabelOffset->setEnabled(false);
  // A vertical slider with its lowest position at the top.
  offset_or = Place(new QSlider(Qt::Vertical, this), "offset_or", 514, 90, 15, 36);
  offset_or->setRange(-14, 10);
  offset_or->setValue(-4);
  offset_or->setInvertedAppearance(true);
  offset_or->setInvertedControls(true);
  offset_or->setTickPosition(QSlider::NoTicks);
  LabelOffset_Or = MakeLabel(this, "LabelOffset_Or", QString(), 499, 97);
  LabelOffset_Or->setEnabled(false);

  Label13 = MakeLabel(this, "Label13", QStringLiteral("Outline"), 536, 90);
  ComboBoxOutlineWidth = MakeList(this, "ComboBoxOutlineWidth", {"2", "3", "4"}, 536, 102, 36, 21);
  ProgressBar1 = Place(new QProgressBar(this), "ProgressBar1", 580, 91, 80, 15);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setToolTip(QStringLiteral("ProgressBar"));
  Button3 =
      Place(new QPushButton(QStringLiteral("Generate Sup"), this), "Button3", 580, 106, 80, 18);
  ListBox1 = Place(new QListWidget(this), "ListBox1", 664, 92, 131, 32);
  ListBox1->setFrameShape(QFrame::Box);

  preview = Place(new PreviewControl(this), "preview", 40, 126, 720, 576);

  // Hidden stores.
  Memo1 = Place(new FileLineStore(this), "Memo1", 0, 0, 17, 17);
  Memo2 = Place(new LineStore(this), "Memo2", 0, 0, 17, 17);
  Memo3 = Place(new LineStore(this), "Memo3", 0, 0, 17, 17);
  Memo4 = Place(new LineStore(this), "Memo4", 0, 0, 17, 17);
  Memo5 = Place(new LineStore(this), "Memo5", 0, 0, 17, 17);
  LabelImageChangedPAL = MakeLabel(this, "LabelImageChangedPAL", QString(), 43, 456);
  LabelImageChangedPAL->hide();
  LabelImageChangedNTSC = MakeLabel(this, "LabelImageChangedNTSC", QString(), 51, 488);
  LabelImageChangedNTSC->hide();

  OpenDialog1 = {QString(), QStringLiteral("ifo|*.ifo"), QString()};
  OpenDialog2 = {QString(), QStringLiteral("*.srt;*.sub;*.txt|*.srt;*.sub;*.txt"), QString()};
  OpenDialogImagePAL = {QStringLiteral("Load 720x576 PAL image"),
                        QStringLiteral("Load your PAL 720x576 BMP|*.bmp"), QString()};
  OpenDialogImageNTSC = {QStringLiteral("Load 720x480 NTSC image"),
                         QStringLiteral("Load your NTSC 720x480 BMP|*.bmp"), QString()};
}

}  // namespace tesmora
