// Program start: the command line, the toolkit, the main window (whose
// creation runs the start-up defaults), the About window created hidden, the
// files named on the command line, then the event loop until the main window
// closes.
#include <QApplication>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "about/TForm2.h"
#include "app/DisplayCheck.h"
#include "app/ProgramArguments.h"
#include "app/Settings.h"
#include "app/TForm1.h"
#include "files/FileAccess.h"
#include "files/FileNames.h"
#include "files/InterruptCleanup.h"
#include "platform/QtPlatform.h"

namespace {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Prints the help, the version or what is wrong with the command line, and
// gives the exit status; nothing when the window is to open.
std::optional<int> AnswerWithoutWindow(const tesmora::ProgramArguments& arguments) {
  switch (arguments.action) {
    case tesmora::ProgramAction::Help:
      std::fputs(tesmora::ProgramUsageText().toUtf8().constData(), stdout);
      return 0;
    case tesmora::ProgramAction::Version:
      std::printf("tesmora %s\n", tesmora::kVersion.toUtf8().constData());
      return 0;
    case tesmora::ProgramAction::UsageError:
      std::fprintf(stderr, "tesmora: %s\nTry 'tesmora --help' for more information.\n",
                   tesmora::FileNameBytes(arguments.error).constData());
      return 2;
    case tesmora::ProgramAction::OpenWindow:
      break;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Asked for help or the version, the program answers without a display.
  const tesmora::ProgramArguments arguments =
      tesmora::ReadProgramArguments(QByteArrayList(argv + std::min(argc, 1), argv + argc));
  if (const std::optional<int> status = AnswerWithoutWindow(arguments)) {
    return *status;
  }
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
  // Files named on the command line load once the window is up.
  QTimer::singleShot(0, &form1, [&form1, &arguments] {
    for (const tesmora::DroppedFile& file : arguments.files) {
      form1.LoadFile(file);
    }
  });
  const int status = QApplication::exec();
  if (const std::optional<QString> problem = form1.FlushSettings()) {
    platform.setOwner(nullptr);
    platform.showMessage(*problem);
  }
  return status;
}
