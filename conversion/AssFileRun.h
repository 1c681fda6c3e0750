#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "conversion/FilmPlan.h"
#include "conversion/PgsRun.h"

namespace tesmora {

// Whether the Blu-ray run hands the file to libass as it is: an ASS or SSA
// script, by its extension (.ass or .ssa, in any case). The one place that
// tells these files from the cue files the readers take.
bool IsAssScriptPath(const std::string& path);

// An ASS or SSA file as the Blu-ray run reads it: its text in UTF-8, and
// what decoding it has to say.
struct AssFilm {
  std::string script;
  std::string encodingNote;  // the encoding used, when it is not the code page
  std::string replacedNote;  // characters replaced by U+FFFD, with the first line
};

// Reads and decodes the file as the cue files are decoded, so code-page
// scripts come out as UTF-8. Throws SubtitleFileError when the file cannot
// be read and std::invalid_argument for an encoding that is not known.
AssFilm LoadAssFilm(const std::string& path, const std::string& encoding, int charset);

// The names of the script's styles, in its order, as the forced style may
// name them. Throws std::runtime_error when libass cannot read the script.
std::vector<std::string> ScriptStyleNames(const AssFilm& film);

// A forced style the script does not have. what() says it as the converter
// does, after the option's name; reason() says it without, for a front end
// that names the choice in its own terms.
class UnknownForcedStyle : public std::runtime_error {
 public:
  UnknownForcedStyle(const std::string& style, const std::vector<std::string>& styles);
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

// How an ASS file goes to a Blu-ray stream beyond the look of the stream.
struct AssRunChoices {
  TimeChoices times;
  // The style whose events are marked forced, one object at a time; empty
  // for none. PgsLook::forced still marks every object.
  std::string forcedStyle;
};

// The event times of the script as the choices change them, in its order,
// once the script is checked as WriteAssPgsFile checks it, on the frame of
// `target`. Throws as WriteAssPgsFile does, before anything is drawn;
// UnknownForcedStyle for a forced style the script does not have.
std::vector<CueTime> AssRunTimes(const AssFilm& film, const AssRunChoices& choices,
                                 const HdTarget& target);

// Draws the script with libass as it is, its events at `times` (those
// AssRunTimes gives), and writes the chosen files. `control` sees the
// position of each picture's first event and may stop the run, as for
// WritePgsPictures.
std::vector<std::string> WriteAssPictures(const BluRayFiles& files, const AssFilm& film,
                                          const std::vector<CueTime>& times,
                                          const std::string& forcedStyle, const PgsLook& look,
                                          const RunControl& control = {});

// Draws the script with libass as it is (its resolution, styles, margins,
// positions and animations) with its event times changed by the choices, and
// writes the chosen files (the stream, the BDN XML or both) as
// WriteBluRayFiles does. Returns the notes for the
// user. Throws std::runtime_error with the reason, changing no file, for a
// script libass cannot read, one with no event, a style `forcedStyle` does
// not name, and SubtitleError for a time the choices cannot make; and
// OutputFileError when the file cannot be written.
std::vector<std::string> WriteAssPgsFile(const BluRayFiles& files, const AssFilm& film,
                                         const AssRunChoices& choices, const PgsLook& look,
                                         const RunControl& control = {});

}  // namespace tesmora
