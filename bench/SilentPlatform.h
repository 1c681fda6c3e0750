#pragma once

#include <QCoreApplication>
#include <QStringList>

#include "platform/Platform.h"

namespace tesmora::bench {

// A desktop for benchmarks: answers no box, remembers errors, and lets the
// event loop run when a handler asks.
class SilentPlatform : public Platform {
 public:
  void showMessage(const QString&) override {}
  void showInformation(const QString&) override {}
  bool askYesNo(const QString&) override { return false; }
  std::optional<QString> chooseItem(const QString&, const QStringList&) override { return {}; }
  void showError(const QString& text) override { errors << text; }

  void processPendingEvents() override { QCoreApplication::processEvents(); }
  void openUrl(const QString&) override {}
  void setBusy(bool) override {}

  QStringList errors;

 protected:
  bool showOpenDialog(FileDialog&) override { return false; }
};

}  // namespace tesmora::bench
