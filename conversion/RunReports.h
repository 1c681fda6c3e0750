#pragma once

#include <QString>
#include <string>
#include <vector>

#include "output/HelpFile.h"
#include "render/OverlongCue.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "render/UnfitCueMessage.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// What a run stopped on request says.
inline constexpr const char* kRunStoppedMessage =
    "The run was stopped: nothing was written, and the files written before stay as they were.";

// The choices of a run that change the written times or flags.
struct ChangingChoices {
  long long shiftMs = 0;
  std::string rateConversion;  // "FROM:TO"; empty: none
  bool forced = false;
};

// The closing message of a run: the case's help text listing `written`,
// then, when a choice changed times or flags, one line naming each, so that
// a shift or a conversion left in force is seen. Lines are separated by a
// single CR.
std::string ClosingMessage(HelpCase helpCase, const std::vector<std::string>& written,
                           const ChangingChoices& choices);

// The closing message of a run that wrote Blu-ray subtitle streams: the
// files listed, then the choices in force as ClosingMessage names them.
// Lines are separated by a single CR.
std::string PgsClosingMessage(const std::vector<std::string>& written,
                              const ChangingChoices& choices);

// The message after a Blu-ray run that wrote BDN XML (NAME.xml, its
// pictures beside it), and with `stream` also the PGS streams: what was
// written, what to do with it, and the listed files.
std::string BdnClosingMessage(const std::vector<std::string>& written,
                              const ChangingChoices& choices, bool stream);

// The first cue, in the list's order, that cannot be drawn whole in the
// style on a frame `frameHeight` rows high, measured on `workers` threads,
// and the message that refuses it; empty when every cue fits. `forRun`: the
// message of a run, which writes nothing and names the cue and the ways
// out; otherwise the message of a load. A line too wide names the way to
// wrap long lines `advice` gives, unless they are wrapped already.
QString UnfitCueRefusal(const std::vector<SubtitleEntry>& cues, const TextSource& source,
                        const SubtitleStyle& style, int frameHeight, int workers, bool forRun,
                        WrapAdvice advice);

}  // namespace tesmora
