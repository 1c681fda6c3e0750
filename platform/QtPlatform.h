#pragma once

#include <QStringList>
#include <QWidget>

#include "platform/Platform.h"

namespace tesmora {

// The caption of every message box.
inline const QString kProgramName = QStringLiteral("Tesmora");

// A message text as Qt shows it: each carriage return becomes a line break.
QString DisplayText(const QString& text);

// Qt name filters for a filter in "description|patterns|description|patterns"
// form; patterns separated by ";" become space-separated, and each pattern
// also matches its upper-case spelling, since Linux file names are case
// sensitive and DVD files often come in capitals.
QStringList QtNameFilters(const QString& filter);

// The window a box or dialog belongs to: the window active when it opens,
// so that it comes up in front of it, or else the program's main window.
QWidget* BoxParent(QWidget* activeWindow, QWidget* owner);

// The desktop: Qt message boxes, Qt file dialogs and the desktop's browser.
class QtPlatform : public Platform {
 public:
  // `owner` is the window boxes belong to when no window of the program is
  // active.
  explicit QtPlatform(QWidget* owner = nullptr) : owner_(owner) {}

  void setOwner(QWidget* owner) { owner_ = owner; }

  void showMessage(const QString& text) override;
  void showInformation(const QString& text) override;
  bool askYesNo(const QString& text) override;
  std::optional<QString> chooseItem(const QString& text, const QStringList& items) override;
  void showError(const QString& text) override;

  void processPendingEvents() override;
  void openUrl(const QString& url) override;
  void setBusy(bool busy) override;

 protected:
  bool showOpenDialog(FileDialog& dialog) override;

 private:
  QWidget* boxParent() const;

  QWidget* owner_;
};

}  // namespace tesmora
