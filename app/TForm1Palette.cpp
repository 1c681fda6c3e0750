// The palette handlers: loading an IFO's palette, the generic palette by
// choice, and the colour roles.
#include "app/TForm1.h"
#include "files/FileNames.h"
#include "palette/FallbackNotice.h"
#include "palette/GreyRoles.h"
#include "palette/IfoReader.h"

namespace tesmora {
namespace {

const QByteArray kSampleLine1 = "Lorvanto.";
const QByteArray kSampleLine2 = "Vessa Morane.";

void SelectEntry(QComboBox* role, int entry) {
  role->setCurrentIndex(entry);
}

}  // namespace

void TForm1::ShowPalette(const Palette& palette) {
  palette_ = palette;
  swatches_.build(this, palette_);
}

void TForm1::Button1Click() {
  if (!platform_.runOpenDialog(OpenDialog1) || OpenDialog1.fileName.isEmpty()) {
    return;
  }
  platform_.processPendingEvents();
  const QString previousPath = Edit1->text();
  Edit1->setText(OpenDialog1.fileName);

  IfoPaletteData data;
  try {
    data = ReadIfoPalette(FileNameBytes(OpenDialog1.fileName).toStdString());
  } catch (const IfoFormatError& error) {
    // Not a title set's IFO, or cut off: refused, and nothing changes.
    Edit1->setText(previousPath);
    platform_.showMessage(QString::fromStdString(error.what()));
    return;
  }

  Palette palette;
  for (std::size_t n = 0; n < 16; ++n) {
    palette[n] = PaletteEntryFromIfo(data.entries[n]);
  }
  ShowPalette(palette);
  (data.isPal() ? Pal : Ntsc)->setChecked(true);
  PaletteReady = true;

  const GreyRoles roles = PickGreyRoles(palette_);
  if (roles.dark) {
    SelectEntry(ComboBox4, *roles.dark);
    SelectEntry(ComboBox2, *roles.dark);
  }
  if (roles.middle) {
    SelectEntry(ComboBox1, *roles.middle);
  }
  if (roles.light) {
    SelectEntry(ComboBox3, *roles.light);
  }

  if (roles.polychromatic()) {
    i_dont_have_ifo->setChecked(false);
    MonochromeIfo = false;
    NoIfoChosen = false;
    Pal->setEnabled(false);
    Ntsc->setEnabled(false);
  } else {
    swatches_.clear();
    Button1->setEnabled(false);
    InstallGenericPalette();
    RedrawPreviewSample(kSampleLine1, kSampleLine2);
    PaletteReady = true;
    platform_.showInformation(QString::fromLatin1(kMonochromeIfoNotice));
    i_dont_have_ifo->setChecked(true);
    MonochromeIfo = true;
    NoIfoChosen = false;
    Pal->setEnabled(false);
    Ntsc->setEnabled(false);
  }
  RedrawPreviewSample(kSampleLine1, kSampleLine2);
}

void TForm1::InstallGenericPalette() {
  ShowPalette(GenericPalette());
  SelectEntry(ComboBox4, kGenericBackground);
  SelectEntry(ComboBox3, kGenericText);
  SelectEntry(ComboBox2, kGenericOutline);
  SelectEntry(ComboBox1, kGenericAntialias);
}

void TForm1::i_dont_have_ifoClick(bool checked) {
  if (checked) {
    NoIfoChosen = true;
    Button1->setEnabled(false);
    InstallGenericPalette();
    RedrawPreviewSample(kSampleLine1, kSampleLine2);
    PaletteReady = true;
    Pal->setEnabled(true);
    Ntsc->setEnabled(true);
  } else {
    NoIfoChosen = false;
    Button1->setEnabled(true);
    swatches_.clear();
    PaletteReady = false;
    Pal->setEnabled(false);
    Ntsc->setEnabled(false);
  }
}

void TForm1::ComboBox1Change() {
  StyleRedraw();
}

void TForm1::ListBox1Click() {
  if (ColoursReady() && SubtitlesLoaded) {
    RedrawPreviewSelected();
  }
}

}  // namespace tesmora
