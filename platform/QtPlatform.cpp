#include "platform/QtPlatform.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace tesmora {

QString DisplayText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      patterns << pattern;
      if (pattern.toUpper() != pattern) {
        patterns << pattern.toUpper();
      }
    }
    filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

namespace {

// Messages are plain text: a subtitle line with "<i>" or a page from the
// version server is shown as it is, never laid out as markup.
void ShowBox(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, kProgramName, DisplayText(text), QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

void QtPlatform::showMessage(const QString& text) {
  ShowBox(owner_, QMessageBox::NoIcon, text);
}

void QtPlatform::showInformation(const QString& text) {
  ShowBox(owner_, QMessageBox::Information, text);
}

bool QtPlatform::askYesNo(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kProgramName, DisplayText(text),
                  QMessageBox::Yes | QMessageBox::No, owner_);
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Yes;
}

void QtPlatform::showError(const QString& text) {
  ShowBox(owner_, QMessageBox::Critical, ErrorBoxText(text));
}

bool QtPlatform::runOpenDialog(FileDialog& dialog) {
  QFileDialog chooser(owner_, dialog.title);
  chooser.setFileMode(QFileDialog::ExistingFile);
  chooser.setAcceptMode(QFileDialog::AcceptOpen);
  chooser.setNameFilters(QtNameFilters(dialog.filter));
  if (!dialog.fileName.isEmpty()) {
    const QFileInfo last(dialog.fileName);
    chooser.setDirectory(last.absolutePath());
    chooser.selectFile(last.fileName());
  }
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
    return false;
  }
  dialog.fileName = chooser.selectedFiles().constFirst();
  return true;
}

void QtPlatform::processPendingEvents() {
  QCoreApplication::processEvents();
}

void QtPlatform::openUrl(const QString& url) {
  QDesktopServices::openUrl(QUrl(url));
}

}  // namespace tesmora
