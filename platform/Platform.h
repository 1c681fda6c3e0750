#pragma once

#include <QString>
#include <new>
#include <stdexcept>
#include <string>

namespace tesmora {

// A file-open dialog as the window keeps it: its title, its filter in the
// "description|patterns" form (several pairs joined by "|"), and the file
// name last confirmed in it, which the dialog offers again next time.
struct FileDialog {
  QString title;
  QString filter;
  QString fileName;
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
  // The error box titled "Tesmora"; `text` is shown with a full stop added.
  virtual void showError(const QString& text) = 0;
  // Runs a file-open dialog. On confirmation stores the chosen path in
  // dialog.fileName and returns true; on cancel changes nothing.
  virtual bool runOpenDialog(FileDialog& dialog) = 0;
  // Lets the event loop handle what is pending, from inside a handler.
  virtual void processPendingEvents() = 0;
  // Opens a web address in the desktop's default browser.
  virtual void openUrl(const QString& url) = 0;
  // Shows the busy cursor over the program's windows, or the usual one
  // again; calls nest.
  virtual void setBusy(bool busy) = 0;
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
