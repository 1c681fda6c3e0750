#include "conversion/FilmPlan.h"

#include "render/CueTextNotes.h"
#include "render/TextlessCues.h"
#include "subtitles/EarlyCues.h"
#include "sup/SubtitlePacket.h"
#include "timing/CueTimes.h"
#include "timing/TimingReportText.h"

namespace tesmora {

FilmPlan PlanFilm(LoadedFilm& film, const SubtitleStyle& style, const TimeChoices& times) {
  FilmPlan plan;
  plan.cues = std::move(film.result.entries);
  film.result.entries.clear();
  plan.textlessNote = LeaveOutTextlessCues(plan.cues, film.source);
  plan.cueTextNotes = CueTextNotes(plan.cues, film.source, style);
  if (plan.cues.empty()) {
    plan.refusal = PlanRefusal::NoSubtitle;
    return plan;
  }
  try {
    plan.cues = ChangeCueTimes(std::move(plan.cues), times.rate, times.shiftMs);
  } catch (const SubtitleError& error) {
    plan.refusal = PlanRefusal::TimeChange;
    plan.refusalMessage = error.what();
    return plan;
  }
  // A cue read before 0 is refused only if the shift left it there.
  if (std::string early = StillEarlyCueMessage(plan.cues, film.result.earlyCues); !early.empty()) {
    plan.refusal = PlanRefusal::TimeChange;
    plan.refusalMessage = std::move(early);
    return plan;
  }
  try {
    plan.timeline = PlanTimeline(CueTimesOf(plan.cues));
  } catch (const SubtitleError& error) {
    plan.refusal = PlanRefusal::Timeline;
    plan.refusalMessage = error.what();
    return plan;
  }
  plan.timingNotes = TimingReportLines(plan.timeline.report);
  return plan;
}

}  // namespace tesmora
