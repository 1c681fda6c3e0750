#include "render/UnfitCueMessage.h"

namespace tesmora {
namespace {

// A message quotes a line whole unless it is far longer than any frame
// shows: then its start and its length, so that a line of megabytes gives a
// message of a few lines.
constexpr qsizetype kLongestQuotedLine = 300;

QString Quoted(const QString& line) {
  if (line.size() <= kLongestQuotedLine) {
    return line;
  }
  return line.left(kLongestQuotedLine) + QStringLiteral("\u2026 (%1 characters)").arg(line.size());
}

}  // namespace

QString TooLongMessage(const QString& line1, const QString& line2) {
  const QChar cr(u'\r');
  return QStringLiteral("The string ") + cr + Quoted(line1) + cr + Quoted(line2) + cr +
         QStringLiteral("is too long.");
}

QString OverlongEntryMessage(const QString& line1, const QString& line2, bool subtitlesLoaded) {
  return TooLongMessage(line1, line2) +
         (subtitlesLoaded
              ? QStringLiteral(" Please use a smaler font size.")
              : QStringLiteral(" Please correct the srt and reload it. You can just use "
                               "a smaler font size."));
}

QString OverlongCueMessage(const QStringList& lines, bool subtitlesLoaded) {
  if (lines.size() <= 2) {
    return OverlongEntryMessage(lines.value(0), lines.value(1), subtitlesLoaded);
  }
  const QChar cr(u'\r');
  QString text = QStringLiteral("The string ") + cr;
  for (const QString& line : lines) {
    text += Quoted(line) + cr;
  }
  return text + QStringLiteral("is too long.") +
         (subtitlesLoaded
              ? QStringLiteral(" Please use a smaler font size.")
              : QStringLiteral(" Please correct the srt and reload it. You can just use "
                               "a smaler font size."));
}

namespace {

QString WrapAdviceText(WrapAdvice advice) {
  switch (advice) {
    case WrapAdvice::WrapOption:
      return QStringLiteral(" Or break long lines with --wrap.");
    case WrapAdvice::WrapBox:
      return QStringLiteral(" Or tick \"Wrap long lines\".");
    case WrapAdvice::None:
      break;
  }
  return {};
}

}  // namespace

QString UnfitCueMessage(const PreparedCue& cue, CueFault fault, std::size_t number,
                        bool subtitlesLoaded, WrapAdvice advice) {
  if (fault == CueFault::TooWide) {
    return OverlongCueMessage(cue.plainLines(), subtitlesLoaded) + WrapAdviceText(advice);
  }
  const qsizetype lines = static_cast<qsizetype>(cue.lines.size());
  const QString count = cue.wrappedPast > 0
                            ? QStringLiteral("more than %1 lines once wrapped").arg(cue.wrappedPast)
                            : QStringLiteral("%1 %2").arg(lines).arg(
                                  lines == 1 ? QStringLiteral("line") : QStringLiteral("lines"));
  return QStringLiteral(
             "Cue %1 has %2, more than the frame holds in this font size and offset: "
             "its lines would be cut off at the frame's edge. Please use a smaller font size "
             "or a lower offset.")
      .arg(number)
      .arg(count);
}

}  // namespace tesmora
