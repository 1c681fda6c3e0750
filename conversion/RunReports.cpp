#include "conversion/RunReports.h"

#include "render/UnfitCueMessage.h"

namespace tesmora {

namespace {

// The line naming the choices that changed times or flags, after a blank
// line; empty when none did.
std::string ChoicesLine(const ChangingChoices& choices) {
  std::vector<std::string> changes;
  if (!choices.rateConversion.empty()) {
    changes.push_back("frame rate converted " + choices.rateConversion);
  }
  if (choices.shiftMs != 0) {
    changes.push_back("times shifted by " + std::to_string(choices.shiftMs) + " ms");
  }
  if (choices.forced) {
    changes.push_back("every subtitle marked forced");
  }
  if (changes.empty()) {
    return {};
  }
  std::string line = "\r\rChoices in force that changed times or flags: ";
  for (std::size_t n = 0; n < changes.size(); ++n) {
    line += (n == 0 ? "" : ", ") + changes[n];
  }
  return line + ".";
}

}  // namespace

std::string ClosingMessage(HelpCase helpCase, const std::vector<std::string>& written,
                           const ChangingChoices& choices) {
  return HelpMessageListing(helpCase, written) + ChoicesLine(choices);
}

std::string PgsClosingMessage(const std::vector<std::string>& written,
                              const ChangingChoices& choices) {
  std::string message =
      "Blu-ray subtitle streams (PGS) written; mux them with the video, for "
      "example with mkvmerge.\r\rGenerated Files:";
  for (const std::string& path : written) {
    message += '\r' + path;
  }
  return message + ChoicesLine(choices);
}

std::string BdnClosingMessage(const std::vector<std::string>& written,
                              const ChangingChoices& choices, bool stream) {
  std::string message =
      stream ? "Blu-ray subtitle streams (PGS) and BDN XML written, each XML with its PNG "
               "pictures beside it; mux the streams with the video, for example with mkvmerge, "
               "or import the XML into a Blu-ray authoring suite.\r\rGenerated Files:"
             : "BDN XML written, each with its PNG pictures beside it; import it into a Blu-ray "
               "authoring suite.\r\rGenerated Files:";
  for (const std::string& path : written) {
    message += '\r' + path;
  }
  return message + ChoicesLine(choices);
}

QString UnfitCueRefusal(const std::vector<SubtitleEntry>& cues, const TextSource& source,
                        const SubtitleStyle& style, int frameHeight, int workers, bool forRun,
                        WrapAdvice advice) {
  const std::optional<UnfitCue> unfit = FirstUnfitCue(cues, source, style, frameHeight, workers);
  if (!unfit) {
    return {};
  }
  const SubtitleEntry& entry = cues[unfit->position];
  const PreparedCue cue = PrepareCueInItsFont(entry.lines, entry.look, source, style, frameHeight);
  const std::size_t number = unfit->position + 1;
  const WrapAdvice wrap = source.wrap ? WrapAdvice::None : advice;
  if (!forRun) {
    return UnfitCueMessage(cue, unfit->fault, number, false, wrap);
  }
  return QStringLiteral(
             "Nothing was written: cue %1 cannot be drawn whole in this style, and the "
             "files written before stay as they were.\r")
             .arg(number) +
         UnfitCueMessage(cue, unfit->fault, number, true, wrap);
}

}  // namespace tesmora
