#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace tesmora {

// A file-open dialog as the window keeps it: its title, its filter in the
// "description|patterns" form (several pairs joined by "|"), and the file
// name last confirmed in it, which the dialog offers again next time, and
// the folder it was confirmed in, where the dialog opens when it has no file
// name (the folder is kept across runs).
struct FileDialog {
  QString title;
  QString filter;
  QString fileName;
  QString folder;
};

// An error raised by the platform (a file that cannot be read, a picture that
// will not load, a number that is not one). The window's handler guard shows
// its text in an error box, with a full stop added.
class PlatformError : public std::runtime_error {
 public:
  explicit PlatformError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// Everything the windows ask of the desktop. Message texts separate their
// lines with a single carriage return.
class Platform {
 public:
  virtual ~Platform() = default;

  // A plain box with an OK button.
  virtual void showMessage(const QString& text) = 0;
  // An information box with an OK button.
  virtual void showInformation(const QString& text) = 0;
  // A box with Yes and No and no icon; true for Yes.
  virtual bool askYesNo(const QString& text) = 0;
  // A box that asks to pick one of `items` from a list, the first offered;
  // the item picked, or empty when the box is cancelled.
  virtual std::optional<QString> chooseItem(const QString& text, const QStringList& items) = 0;
  // The error box titled "Tesmora"; `text` is shown with a full stop added.
  virtual void showError(const QString& text) = 0;
  // Runs a file-open dialog, or takes the file chosen for it beforehand. On
  // confirmation stores the chosen path in dialog.fileName and its folder in
  // dialog.folder and returns true; on cancel changes nothing.
  bool runOpenDialog(FileDialog& dialog) {
    std::optional<QString> chosen = std::exchange(chosenFile_, std::nullopt);
    if (chosen) {
      dialog.fileName = *chosen;
    } else if (!showOpenDialog(dialog)) {
      return false;
    }
    dialog.folder = QFileInfo(dialog.fileName).absolutePath();
    return true;
  }
  // Makes the next file-open dialog confirm `path` without showing itself:
  // a file dropped on a window goes through the handler of the dialog that
  // would have chosen it. Nothing clears what a handler left unused.
  void chooseNextFile(std::optional<QString> path) { chosenFile_ = std::move(path); }
  // Lets the event loop handle what is pending, from inside a handler.
  virtual void processPendingEvents() = 0;
  // Opens a web address in the desktop's default browser.
  virtual void openUrl(const QString& url) = 0;
  // Shows the busy cursor over the program's windows, or the usual one
  // again; calls nest.
  virtual void setBusy(bool busy) = 0;

 protected:
  // Shows a file-open dialog; on confirmation stores the chosen path in
  // dialog.fileName and returns true.
  virtual bool showOpenDialog(FileDialog& dialog) = 0;

 private:
  std::optional<QString> chosenFile_;
};

// Shows the busy cursor while it lives: over a long action such as a
// generation run or the version check.
class BusyCursor {
 public:
  explicit BusyCursor(Platform& platform) : platform_(platform) { platform_.setBusy(true); }
  ~BusyCursor() { platform_.setBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Platform& platform_;
};

// The text of an error box: the error's text with a full stop added.
inline QString ErrorBoxText(const QString& text) {
  return text + QLatin1Char('.');
}

// The error box's text when a handler runs out of memory.
inline constexpr const char* kOutOfMemoryText =
    "There was not enough memory to finish; the action was stopped";

// Runs one event handler; an exception ends it where it was thrown and is
// shown in the error box. What the handler had done until then remains.
template <typename Handler>
void RunGuarded(Platform& platform, Handler&& handler) {
  try {
    handler();
  } catch (const std::bad_alloc&) {
    platform.showError(QString::fromLatin1(kOutOfMemoryText));
  } catch (const std::exception& error) {
    platform.showError(QString::fromStdString(error.what()));
  }
}

}  // namespace tesmora
