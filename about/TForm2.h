#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "about/TUpdater.h"
#include "platform/Platform.h"

namespace tesmora {

// The running version, as the About window shows it and the version check
// compares it.
inline const QString kVersion = QStringLiteral("42.7");

// The maker's pages.
inline const QString kSiteAddress = QStringLiteral("http://tesmora.example.org/");
inline const QString kContributorAddress = QStringLiteral("http://harbourfonts.example.org/");
inline const QString kDonationAddress =
    QStringLiteral("https://payments.example.org/donate?to=ovandel");

// The introduction of the About window: three lines separated by a single
// carriage return.
QString AboutIntroduction();

// A picture that acts on a click.
class ClickablePicture : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The About window: introduction, usage text, version, links and the
// version check. Closing it only hides it.
class TForm2 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm2(Platform& platform, UpdateServer server = {}, QWidget* parent = nullptr);

  void Button1Click();
  void Label5Click();
  void ImageDonateClick();
  void ButtonCheckVersionClick();

  QLabel* Image1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* LabelVersion;
  QPlainTextEdit* Memo1;
  QLabel* Label4;
  QLabel* Label6;
  ClickablePicture* Label5;
  QPushButton* Button1;
  QPushButton* ButtonCheckVersion;
  ClickablePicture* ImageDonate;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();

  Platform& platform_;
  UpdateServer server_;
  int liveUpdaters_ = 0;
};

}  // namespace tesmora
