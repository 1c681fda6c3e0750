#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "conversion/AssFileRun.h"
#include "conversion/ConversionChoices.h"
#include "conversion/PgsRun.h"
#include "conversion/RunFiles.h"
#include "core/CueTime.h"
#include "render/PreparedCue.h"
#include "subtitles/AssReader.h"
#include "subtitles/Charsets.h"
#include "subtitles/FrameReader.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// The one Blu-ray run of both front ends: an ASS or SSA file drawn in its own
// styles goes to libass as it is; any other file, and a script drawn in the
// window's style, becomes cues first.

// The video of a Blu-ray target's choices: its lines at the chosen rate,
// or at the usual one when none is chosen. Nothing for the DVD or a rate the
// video does not take.
std::optional<PgsVideo> BluRayVideoOf(const ConversionChoices& choices);

// The rate a MicroDVD file's frames are read at for a Blu-ray target, which
// is the video's, as the converter's --fps is both: the chosen rate, or
// with `usual` the video's usual one when none is chosen. Nothing for the
// DVD, and without `usual` when no rate is chosen (the file's own stands).
std::optional<ChosenFrameRate> BluRayFramesRate(const ConversionChoices& choices, bool usual);

// What a Blu-ray run reads, and how.
struct BluRayReading {
  std::string path;  // as the file system names it
  CueStyles styles = CueStyles::File;
  std::string encoding = "auto";    // "auto" or a name iconv knows
  int charset = charset::kDefault;  // the style's, whose code page reads 8-bit text
  AssRunChoices script;             // the time changes, and the forced style of a script
};

// Whether a Blu-ray run hands `path` to libass as it is: an ASS or SSA
// script whose own styles are chosen. With the window's styles it is read
// into cues, drawn in the one style, as any other file.
bool DrawsScriptAsItIs(const std::string& path, CueStyles styles);

// The cues of a file that is not drawn as it is, read, timed and planned by
// the front end, which says what their reading has to say in its own way.
struct BluRayCues {
  std::vector<SubtitleEntry> cues;
  TextSource source;
};

// A Blu-ray run with its file read and checked: the script with its event
// times, or the cues.
struct BluRayRun {
  std::optional<AssFilm> script;  // with what decoding it has to say
  std::vector<CueTime> eventTimes;
  std::string forcedStyle;  // the script's style whose events are forced; empty: none
  BluRayCues cues;

  // The positions the run's progress counts: the script's events or the cues.
  std::size_t steps() const { return script ? eventTimes.size() : cues.cues.size(); }
};

// Reads the file: a script drawn as it is is decoded and checked on the
// frame of `look` (its events, the forced style, the times the choices
// make); any other file is read by `readCues`. Nothing is written. Throws
// as LoadAssFilm and AssRunTimes do, and whatever `readCues` throws.
BluRayRun ReadBluRayRun(const BluRayReading& reading, const PgsLook& look,
                        const std::function<BluRayCues()>& readCues);

// Writes the run's chosen files as WriteBluRayFiles does: the script as
// libass draws it, or the cues in `look`'s style (their own text source
// in place of the look's). `control` sees positions below run.steps() and
// may stop the run, which then changes no file. Returns the notes for the
// user.
std::vector<std::string> WriteBluRayRun(const BluRayRun& run, const BluRayFiles& files,
                                        const PgsLook& look, const RunControl& control = {});

}  // namespace tesmora
