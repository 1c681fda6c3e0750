#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

#include "files/FileNames.h"

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

// A box or dialog comes up above every window of the program: where one of
// them stays on top (the About window), the box stays on top as well, or that
// window would cover it. It blocks only the window it opened over, so a
// window that stays on top can still be closed while a box of the main
// window is up.
void KeepAbove(QWidget& box) {
  const QWidgetList windows = QApplication::topLevelWidgets();
  const bool anyOnTop = std::any_of(windows.begin(), windows.end(), [&box](const QWidget* window) {
    return window != &box && window->isVisible() &&
           window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  });
  if (anyOnTop) {
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  if (box.parentWidget() != nullptr) {
    box.setWindowModality(Qt::WindowModal);
  }
}

// Messages are plain text: a subtitle line with "<i>" or a page from the
// version server is shown as it is, never laid out as markup.
// A box or dialog that opens during a long action is answered with the usual
// cursor: the busy one stands only for the action.
class UsualCursor {
 public:
  UsualCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~UsualCursor() { QApplication::restoreOverrideCursor(); }
  UsualCursor(const UsualCursor&) = delete;
  UsualCursor& operator=(const UsualCursor&) = delete;
};

// Qt's file dialog reads folders by names it takes as UTF-8, so a folder
// whose name holds other bytes (a Latin-1 "caf\xE9") cannot be opened by its
// name. Such a folder is shown to the dialog through a descriptor held open
// on it, as /proc/self/fd/N, and a file chosen there gets the folder's own
// name back.
class DialogFolder {
 public:
  explicit DialogFolder(const QString& folder) : folder_(folder) {
    const QByteArray bytes = FileNameBytes(folder);
    if (bytes == QFile::encodeName(folder)) {
      return;
    }
    descriptor_ = ::open(bytes.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor_ >= 0) {
      alias_ = QStringLiteral("/proc/self/fd/%1").arg(descriptor_);
    }
  }
  ~DialogFolder() {
    if (descriptor_ >= 0) {
      ::close(descriptor_);
    }
  }
  DialogFolder(const DialogFolder&) = delete;
  DialogFolder& operator=(const DialogFolder&) = delete;

  // The folder as the dialog can open it.
  QString shown() const { return alias_.isEmpty() ? folder_ : alias_; }
  // A path chosen in the dialog, under the folder's own name.
  QString chosen(const QString& path) const {
    if (!alias_.isEmpty() && (path == alias_ || path.startsWith(alias_ + QLatin1Char('/')))) {
      return folder_ + path.mid(alias_.size());
    }
    return path;
  }

 private:
  QString folder_;
  QString alias_;
  int descriptor_ = -1;
};

int RunBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
           QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, kProgramName, DisplayText(text), buttons, parent);
  box.setTextFormat(Qt::PlainText);
  KeepAbove(box);
  const UsualCursor cursor;
  return box.exec();
}

}  // namespace

QWidget* BoxParent(QWidget* activeWindow, QWidget* owner) {
  return activeWindow != nullptr ? activeWindow : owner;
}

QWidget* QtPlatform::boxParent() const {
  return BoxParent(QApplication::activeWindow(), owner_);
}

void QtPlatform::showMessage(const QString& text) {
  RunBox(boxParent(), QMessageBox::NoIcon, text, QMessageBox::Ok);
}

void QtPlatform::showInformation(const QString& text) {
  RunBox(boxParent(), QMessageBox::Information, text, QMessageBox::Ok);
}

bool QtPlatform::askYesNo(const QString& text) {
  return RunBox(boxParent(), QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

std::optional<QString> QtPlatform::chooseItem(const QString& text, const QStringList& items) {
  QWidget* parent = boxParent();
  QInputDialog box(parent);
  box.setWindowTitle(kProgramName);
  box.setLabelText(DisplayText(text));
  box.setComboBoxItems(items);
  box.setComboBoxEditable(false);
  KeepAbove(box);
  const UsualCursor cursor;
  if (box.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return box.textValue();
}

void QtPlatform::showError(const QString& text) {
  RunBox(boxParent(), QMessageBox::Critical, ErrorBoxText(text), QMessageBox::Ok);
}

bool QtPlatform::showOpenDialog(FileDialog& dialog) {
  QWidget* parent = boxParent();
  QFileDialog chooser(parent, dialog.title);
  KeepAbove(chooser);
  chooser.setFileMode(QFileDialog::ExistingFile);
  chooser.setAcceptMode(QFileDialog::AcceptOpen);
  chooser.setNameFilters(QtNameFilters(dialog.filter));
  const QFileInfo last(dialog.fileName);
  const DialogFolder folder(dialog.fileName.isEmpty() ? dialog.folder : last.absolutePath());
  if (!dialog.fileName.isEmpty()) {
    chooser.setDirectory(folder.shown());
    chooser.selectFile(last.fileName());
  } else if (!dialog.folder.isEmpty()) {
    chooser.setDirectory(folder.shown());
  }
  const UsualCursor cursor;
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
    return false;
  }
  dialog.fileName = folder.chosen(chooser.selectedFiles().constFirst());
  return true;
}

void QtPlatform::processPendingEvents() {
  QApplication::processEvents();
}

void QtPlatform::openUrl(const QString& url) {
  QDesktopServices::openUrl(QUrl(url));
}

void QtPlatform::setBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace tesmora
