// tesmora-cli: the converter without a window, for batch work and scripts.
// It draws with the same fonts as the window, which need the Gui
// application; without a display it runs on the offscreen platform.
#include <malloc.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QStringList>
#include <QtGlobal>
#include <cstdlib>
#include <iostream>
#include <new>

#include "cli/CliRun.h"
#include "files/FileNames.h"
#include "files/InterruptCleanup.h"

namespace {

// Drops Qt's notes and warnings. The platform's start-up remarks on the
// desktop session (no runtime folder and the like) concern a window, not a
// converter; errors still come through.
void QuietStartup(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    qt_message_output(type, context, message);
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  // The arguments are read before the application object sees them, so that
  // Qt takes none of them ("-platform" and the like) for its own. They are
  // taken as file names, which keeps every byte of a path.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) {
    arguments << tesmora::FileNameText(QByteArray(argv[i]));
  }
  // Ctrl-C, SIGTERM and SIGHUP leave no half-written file behind.
  tesmora::InstallInterruptCleanup();
  // A Blu-ray run makes and frees picture buffers of a few hundred kilobytes
  // for every cue. With the allocator's defaults each is mapped afresh or the
  // heap is given back and taken again, and the page faults cost about a
  // third of the run; a fixed threshold keeps them on the heap for reuse.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  const QtMessageHandler standardHandler = qInstallMessageHandler(QuietStartup);
  QGuiApplication application(qtArgc, argv);
  qInstallMessageHandler(standardHandler);

  const tesmora::cli::Console console{std::cout, std::cerr, isatty(STDERR_FILENO) != 0};
  try {
    return tesmora::cli::RunCli(arguments, console);
  } catch (const std::bad_alloc&) {
    // Reading the command line ran out of memory; the run itself reports
    // its own lack of memory.
    std::cerr << tesmora::cli::kOutOfMemoryMessage << '\n';
    return tesmora::cli::kExitRefused;
  }
}
