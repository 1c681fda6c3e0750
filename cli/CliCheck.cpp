#include "cli/CliCheck.h"

#include <QFile>
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "files/FileNames.h"
#include "pgs/StreamCheck.h"

namespace tesmora::cli {
namespace {

// The exit status of a stream that cannot be read at all, the same as a
// wrong command line: neither tells anything about a stream.
constexpr int kExitUnreadable = kExitUsage;

std::string Counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

int CheckOne(const QString& path, const Console& console) {
  const std::string name = InlineText(FileNameBytes(path).toStdString());
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    console.err << TerminalText(std::string(kProgramName) + ": cannot read " + name + ": " +
                                file.errorString().toStdString())
                << '\n';
    return kExitUnreadable;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    console.err << TerminalText(std::string(kProgramName) + ": cannot read " + name + ": " +
                                file.errorString().toStdString())
                << '\n';
    return kExitUnreadable;
  }
  const pgs::CheckReport report = pgs::CheckStream(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())));
  std::string text;
  for (const pgs::Breach& breach : report.breaches) {
    text += name + ": " + pgs::BreachLine(breach) + "\n";
  }
  if (report.unlisted > 0) {
    text +=
        name + ": " + Counted(report.unlisted, "more breach", "more breaches") + " not listed\n";
  }
  const std::size_t found = report.breaches.size() + report.unlisted;
  const std::string sets = Counted(report.sets, "display set", "display sets");
  if (report.breaches.empty()) {
    text +=
        name + ": " + sets + " in " + Counted(report.epochs, "epoch", "epochs") + ", no breaches\n";
  } else {
    text += name + ": " + Counted(found, "breach", "breaches") + " in " + sets + "\n";
  }
  console.out << TerminalText(text);
  return report.breaches.empty() ? kExitOk : kExitRefused;
}

}  // namespace

int CheckStreams(const CliOptions& options, const Console& console) {
  int status = kExitOk;
  for (const QString& path : options.subtitlePaths) {
    status = std::max(status, CheckOne(path, console));
  }
  return status;
}

}  // namespace tesmora::cli
