#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "subtitles/AssReader.h"

namespace tesmora {

// The name the outputs take before their extensions unless one is chosen.
inline constexpr const char* kDefaultOutputName = "Generated";

// The disc a run writes for: the DVD subpicture stream (with, if chosen, the
// VobSub pair and the palette), or a Blu-ray presentation graphics stream
// for video of 1080 or 720 lines.
enum class DiscTarget { Dvd, BluRay1080, BluRay720 };

// One target as the window offers it, the settings file stores it and the
// converter is told it.
struct TargetChoice {
  DiscTarget target;
  const char* caption;  // as the window's list shows it
  const char* setting;  // as the settings file stores it
  int videoLines;       // the Blu-ray video's lines; 0 for the DVD
};

// The targets in the order the window lists them, the DVD first.
const std::vector<TargetChoice>& OfferedTargets();
const TargetChoice& TargetChoiceOf(DiscTarget target);
bool IsBluRay(DiscTarget target);

// The converter's options that pick `target`: none for the DVD, whose
// formats are the converter's default, and "--format pgs --video N" for a
// Blu-ray stream.
std::vector<std::string> TargetArguments(DiscTarget target);

// The files a Blu-ray run writes: the presentation graphics stream, the BDN
// XML with its pictures, or both from one drawing.
enum class BluRayForms { Stream, StreamAndBdn, Bdn };

// One choice of the Blu-ray files as the window offers it, the settings file
// stores it and the converter's "--format" names it.
struct BluRayFormsChoice {
  BluRayForms forms;
  const char* caption;  // as the window's list shows it
  const char* setting;  // as the settings file stores it and "--format" takes it
};

// The choices in the order the window lists them, the stream alone first.
const std::vector<BluRayFormsChoice>& OfferedBluRayForms();
const BluRayFormsChoice& BluRayFormsChoiceOf(BluRayForms forms);
bool WritesStream(BluRayForms forms);
bool WritesBdn(BluRayForms forms);

// The frame rates a Blu-ray target's video allows, as a user writes them,
// its usual rate first ("23.976" for 1080 and 720); none for the DVD.
std::vector<std::string> OfferedVideoRates(DiscTarget target);

// `text` as a frame rate of the target's video, as it is offered: empty for
// a rate the video does not take and for the DVD.
std::optional<std::string> ParseVideoRateChoice(std::string_view text, DiscTarget target);

// Why HDR colours and BDN XML do not go together, as both front ends say it
// after naming the two in their own terms.
inline constexpr const char* kHdrWithBdnReason =
    "its PNG pictures are plain RGB, whose colours the authoring suite codes for the video";

// Why a forced style does not go with a file, as both front ends say it
// after naming the forced style in their own terms: an ASS or SSA file drawn
// in the window's style, and a file of another format.
inline constexpr const char* kForcedStyleWithWindowStylesReason =
    "picks the subtitles of one style of the file as its own styles draw them";
inline constexpr const char* kForcedStyleWithoutStylesReason =
    "picks the subtitles of one style of an ASS or SSA file, and this file has no styles";

// How a subtitle file is read and what its conversion writes, beyond the
// style and the palette: the converter's options and the window's controls
// both hold these, read and written as the functions below spell them.
struct ConversionChoices {
  std::string encoding = "auto";  // "auto" or a name iconv knows
  bool noMarkup = false;          // the text drawn exactly as written
  bool wrap = false;              // overlong lines broken at spaces
  long long shiftMs = 0;          // added to every time, after a rate conversion
  std::string rateConversion;     // "FROM:TO"; empty: none
  bool vobsubAndPalette = false;  // also NAME.idx, NAME.sub and NAME.rgb
  bool forced = false;            // every unit shown even with subtitles off
  std::string outputName = kDefaultOutputName;
  DiscTarget target = DiscTarget::Dvd;
  // Whose styles draw ASS and SSA files: their own, or the window's as for
  // SRT; "--styles file|window", the "Styles from the file" check box.
  CueStyles styles = CueStyles::File;
  // What a Blu-ray target writes, at which frame rate of its video (empty:
  // the video's usual rate), and whether in HDR colours (BT.2020 with the
  // PQ curve), which only the stream takes. With the DVD chosen they are
  // the last Blu-ray choices, kept for the next Blu-ray target.
  BluRayForms bluRayForms = BluRayForms::Stream;
  std::string videoRate;
  bool hdr = false;
  // The style of an ASS or SSA file drawn in its own styles whose events a
  // Blu-ray target marks forced; empty: none. It belongs to the film it was
  // chosen for, so it is not stored in the settings.
  std::string forcedStyle;

  friend bool operator==(const ConversionChoices&, const ConversionChoices&) = default;
};

// The encodings offered for a choice, "auto" first: UTF-8, UTF-16 in both
// byte orders, the Windows and ISO code pages, the KOI8 pages.
const std::vector<std::string>& OfferedEncodings();

// The converter's options that write what `choices` ask of a Blu-ray
// target: "--format pgs|pgs,bdn|bdn --video N", then "--fps R" for a rate
// chosen, "--hdr" and "--forced-style NAME" for a style chosen. None for the
// DVD.
std::vector<std::string> BluRayArguments(const ConversionChoices& choices);

// The HDR colours chosen with BDN XML for a Blu-ray target, which the
// converter and the window refuse with kHdrWithBdnReason.
bool HdrWithBdn(const ConversionChoices& choices);

// `text` as an encoding choice: "auto" (in any case) or a name iconv knows,
// as written.
// Empty for anything else.
std::optional<std::string> ParseEncodingChoice(std::string_view text);

// `text` as a styles choice: "file" or "window", in any case. Empty for
// anything else.
std::optional<CueStyles> ParseStylesChoice(std::string_view text);

// The styles choice as written: "file" or "window".
std::string StylesChoiceText(CueStyles styles);

// Whether `name` can name output files inside the output folder: not empty,
// not "." or "..", and without a folder separator.
bool IsPlainOutputName(std::string_view name);

// The choices that outlast one film, as settings keys and their texts, in a
// fixed order: all but the shift and the rate conversion, which belong to the
// film they were set for.
std::vector<std::pair<std::string, std::string>> ChoiceSettings(const ConversionChoices& choices);

// The keys the shift and the rate conversion were once stored under: a
// settings file may still hold them, and they are not read.
const std::vector<std::string>& FilmChoiceKeys();

// The lasting choices from settings texts; `lookup` gives a key's text, if
// stored. A missing key, or a text that is not a valid value, leaves the
// default; the shift and the rate conversion always keep theirs.
ConversionChoices ChoicesFromSettings(
    const std::function<std::optional<std::string>(const std::string& key)>& lookup);

}  // namespace tesmora
