// Program start: the toolkit, the main window (whose creation runs the
// start-up defaults), the About window created hidden, then the event loop
// until the main window closes.
#include <QApplication>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "about/TForm2.h"
#include "app/DisplayCheck.h"
#include "app/Settings.h"
#include "app/TForm1.h"
#include "files/FileAccess.h"
#include "platform/QtPlatform.h"
#include "sup/InterruptCleanup.h"

namespace {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Without a display the toolkit would abort with a terse message; say
  // what is missing instead.
  const std::optional<std::string> namedPlatform = tesmora::CommandLinePlatform(argc, argv);
  if (const std::optional<std::string> problem = tesmora::DisplayProblem(
          {namedPlatform ? namedPlatform : Environment("QT_QPA_PLATFORM"), Environment("DISPLAY"),
           Environment("WAYLAND_DISPLAY"), Environment("XDG_SESSION_TYPE")},
          {tesmora::XDisplayAnswers, tesmora::WaylandDisplayAnswers})) {
    std::fputs(problem->c_str(), stderr);
    return 2;
  }
  // A run stopped by Ctrl-C, SIGTERM or SIGHUP leaves no half-written file.
  tesmora::InstallInterruptCleanup();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tesmora"));
  QApplication::setDesktopFileName(QStringLiteral("tesmora"));

  tesmora::QtPlatform platform;
  tesmora::TForm1 form1(platform,
                        tesmora::SettingsFilePath(
                            tesmora::ProgramFolder(),
                            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
  platform.setOwner(&form1);
  tesmora::TForm2 form2(platform);
  form2.hide();
  form1.setAboutWindow(&form2);

  form1.show();
  const int status = QApplication::exec();
  if (const std::optional<QString> problem = form1.FlushSettings()) {
    platform.setOwner(nullptr);
    platform.showMessage(*problem);
  }
  return status;
}
