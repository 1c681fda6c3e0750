#include "render/UnfitCueMessage.h"

#include "render/SubtitleDrawing.h"

namespace tesmora {

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
