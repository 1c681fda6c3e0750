#pragma once

#include <optional>
#include <string>
#include <vector>

#include "conversion/FilmLoad.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"
#include "timing/TimeChange.h"
#include "timing/Timeline.h"

namespace tesmora {

// The choices that change a film's times: a frame rate conversion, then a
// shift in milliseconds.
struct TimeChoices {
  std::optional<RateConversion> rate;
  long long shiftMs = 0;
};

// Why a read film cannot be converted.
enum class PlanRefusal {
  None,
  NoSubtitle,  // no cue is left once the textless ones are left out
  TimeChange,  // a time the choices move before 0 or past the largest, or a cue still early
  Timeline,    // a time too late for a time stamp
};

// A read film made ready to draw: its cues in the file's order with their
// times changed, the subpictures that show them, and the notes of each step
// for the front end to show in its own order. A refused plan holds the notes
// of the steps before the refusal and the refusal's message.
struct FilmPlan {
  std::vector<SubtitleEntry> cues;
  std::string textlessNote;
  std::vector<std::string> cueTextNotes;
  Timeline timeline;
  std::vector<std::string> timingNotes;
  PlanRefusal refusal = PlanRefusal::None;
  std::string refusalMessage;  // without a closing full stop
};

// Leaves out the cues with nothing to draw in the style, changes the times of
// the others and plans their subpictures. The film's cues are moved into the
// plan: a long film's cues are not held twice.
FilmPlan PlanFilm(LoadedFilm& film, const SubtitleStyle& style, const TimeChoices& times);

}  // namespace tesmora
