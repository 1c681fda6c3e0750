#include "about/TForm2.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>

namespace tesmora {
namespace {

const QString kUsage = QStringLiteral(
    "Usage : \n"
    "1) Just load you Original Dvd Ifo file  ex : VTS_01_0.IFO\n"
    "then the program automatically will read the right color pallette\n"
    "and pick the better colors for your sup file.\n"
    "If you dont have an ifo file just check the associated checkbox.\n"
    "2) After that,just load your srt. At this time the program looks the\n"
    "width of every textual subtitle in order to fit it on the dvd screen.\n"
    "3) If the srt loads correctly then press Generate Sup, otherwise\n"
    "try to edit the srt or just pick a smaller font.\n"
    "\n"
    "After generating the sup an help text will be generated in order \n"
    "to help you authoring your dvd with the Genarated.sup'");

}  // namespace

QString AboutIntroduction() {
  const QChar cr(u'\r');
  return QStringLiteral(
             "Hi there ! This utility converts txt subtitles in sup files in order to put them "
             "in a dvd.") +
         cr + QStringLiteral("The official site is : ") + kSiteAddress + QStringLiteral(" .") + cr +
         QStringLiteral("For any suggestions pls mail me at ovandel@example.org .");
}

namespace {

QLabel* Place(QLabel* label, int x, int y, int width = -1, int height = -1) {
  if (width < 0) {
    label->adjustSize();
    label->move(x, y);
  } else {
    label->setGeometry(x, y, width, label->sizeHint().height());
    if (height >= 0) {
      label->resize(width, height);
    }
  }
  return label;
}

QLabel* Bold(QLabel* label) {
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QPixmap Picture(const char* name) {
  return QPixmap::fromImage(QImage(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name))));
}

}  // namespace

void ClickablePicture::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

TForm2::TForm2(Platform& platform, UpdateServer server, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      platform_(platform),
      server_(std::move(server)) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("About"));
  // An Arial-compatible face: its widths are close to those the window's
  // texts were laid out for, so they fit their controls.
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(316, 463);

  Image1 = new QLabel(this);
  Image1->setGeometry(8, 8, 81, 81);
  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1 = new QLabel(this);
  Label1->setGeometry(96, 8, 201, 81);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label2 = Place(new QLabel(QStringLiteral("Ovandel"), this), 16, 96);
  Label3 = Place(Bold(new QLabel(QStringLiteral("Current version :"), this)), 80, 112);
  LabelVersion = Place(Bold(new QLabel(kVersion, this)), 176, 112);
  Memo1 = new QPlainTextEdit(kUsage, this);
  Memo1->setGeometry(5, 128, 305, 177);
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Label4 = Place(new QLabel(QStringLiteral("Special Thx to:"), this), 8, 308);
  Label6 = Place(Bold(new QLabel(QStringLiteral("Everyone who tested the first streams"), this)), 8,
                 323, 249);
  Label5 = new ClickablePicture(QStringLiteral("B. Harbourfont - harbourfonts.example.org"), this);
  Place(Bold(Label5), 8, 338, 284);
  Label5->setCursor(Qt::PointingHandCursor);
  Button1 =
      new QPushButton(QStringLiteral("Visit the official site ") + QUrl(kSiteAddress).host(), this);
  Button1->setGeometry(48, 360, 201, 25);
  Button1->setCursor(Qt::PointingHandCursor);
  ButtonCheckVersion = new QPushButton(QStringLiteral("Check Version"), this);
  ButtonCheckVersion->setGeometry(48, 392, 201, 25);
  ButtonCheckVersion->setCursor(Qt::PointingHandCursor);
  ImageDonate = new ClickablePicture(this);
  ImageDonate->setGeometry(184, 423, 65, 33);
  ImageDonate->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ImageDonate->setCursor(Qt::PointingHandCursor);
  ImageDonate->setPixmap(Picture("Donate"));

  setTabOrder(Button1, Memo1);
  setTabOrder(Memo1, ButtonCheckVersion);
  const auto guarded = [this](auto handler) {
    return [this, handler] { RunGuarded(platform_, [this, handler] { (this->*handler)(); }); };
  };
  connect(Button1, &QPushButton::clicked, this, guarded(&TForm2::Button1Click));
  connect(Label5, &ClickablePicture::clicked, this, guarded(&TForm2::Label5Click));
  connect(ImageDonate, &ClickablePicture::clicked, this, guarded(&TForm2::ImageDonateClick));
  connect(ButtonCheckVersion, &QPushButton::clicked, this,
          guarded(&TForm2::ButtonCheckVersionClick));
  FormCreate();
}

void TForm2::FormCreate() {
  Image1->setPixmap(Picture("velmire"));
  // A label breaks lines at line feeds, not at carriage returns.
  Label1->setText(AboutIntroduction().replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

void TForm2::Button1Click() {
  platform_.openUrl(kSiteAddress);
}

void TForm2::Label5Click() {
  platform_.openUrl(kContributorAddress);
}

void TForm2::ImageDonateClick() {
  platform_.openUrl(kDonationAddress);
}

void TForm2::ButtonCheckVersionClick() {
  const BusyCursor busy(platform_);
  const std::unique_ptr<TUpdater> checker = CreateUpdater(platform_, liveUpdaters_);
  if (!checker) {
    return;
  }
  checker->CheckForUpdate(LabelVersion->text().toLatin1(), server_);
}

// Centred on the screen each time it is shown.
void TForm2::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

}  // namespace tesmora
