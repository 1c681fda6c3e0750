#pragma once

#include <optional>
#include <string>
#include <vector>

#include "conversion/PgsPictures.h"
#include "conversion/RunFiles.h"
#include "core/Rgb.h"
#include "hdrender/HdStyle.h"
#include "hdrender/HdTarget.h"
#include "pgs/VideoFormat.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"

namespace tesmora {

// The video a Blu-ray subtitle stream goes with: the format its segments
// name, and the frame libass draws on at the same rate.
struct PgsVideo {
  pgs::VideoFormat format;
  HdTarget target;
};

// The video of `lines` lines (1080, 720, 576 or 480) at `fps` frames a
// second, or at the format's usual rate when none is given: 23.976 for 1080
// and 720, 25 for 576, 29.97 for 480. Nothing for another number of lines or
// a rate the format does not allow (see PgsRatesOf).
std::optional<PgsVideo> PgsVideoOf(int lines, std::optional<double> fps);

// The rates a video of `lines` lines allows, as a user writes them:
// "23.976, 24, 25, 29.97, 50 or 59.94" for 1080.
std::string PgsRatesOf(int lines);

// The same rates one by one, the usual first: "23.976", "24", ... for 1080.
std::vector<std::string> PgsRateTexts(int lines);

// The high-definition style of the DVD style's choices: its font, size,
// bold, italic, underline and strike-out, alignment and the first line's
// height above the bottom, the outline `outlineWidth` pixels wide at 576
// lines, the text in `text` and the outline in `outline`.
HdStyle HdStyleOf(const SubtitleStyle& style, int outlineWidth, Rgb text, Rgb outline);

// The style of a Blu-ray stream: HdStyleOf with the text and outline in the
// colours the generic palette's roles give them. The stream takes no IFO and
// no roles, so both front ends draw it in these.
HdStyle BluRayStyleOf(const SubtitleStyle& style, int outlineWidth);

// How a Blu-ray stream's cues are drawn and coded.
struct PgsLook {
  HdStyle style;
  TextSource source;
  PgsVideo video;
  bool hdr = false;     // BT.2020 with the PQ curve instead of the format's own matrix
  bool forced = false;  // every object shown even with subtitles switched off
  int workers = 1;      // threads that draw and code pictures; the bytes are the same for any
};

// The files of a Blu-ray run: the presentation graphics stream, the BDN
// XML with its pictures, or both. An empty path leaves that form out.
struct BluRayFiles {
  std::string pgsPath;  // NAME.sup
  std::string bdnPath;  // NAME.xml; its pictures go beside it (see BdnFiles.h)
};

// Draws the cues with libass once and writes each chosen form from the
// same pictures: the BDN XML's events are the pictures the stream shows, at
// the times it shows them, in the colours of its palettes. All files are
// replaced together once every one is complete; a run that fails changes
// no file and leaves no temporary file, and a run writing thousands of
// pictures holds only a few descriptors. Returns the notes for the user:
// those of WritePgsFile, and each picture the BDN XML leaves out because it
// is shown for less than a frame. Throws OutputFileError when a file
// cannot be written and std::runtime_error when libass cannot start or a
// picture cannot be made.
std::vector<std::string> WriteBluRayFiles(const BluRayFiles& files,
                                          const std::vector<SubtitleEntry>& cues,
                                          const PgsLook& look, const RunControl& control = {});

// The BDN XML at `xmlPath` (NAME.xml) and one PNG for each picture beside
// it, as WriteBluRayFiles writes them without the stream: the interchange
// form Blu-ray authoring suites import. The pictures and times are those of
// the stream the same cues make; pictures of an earlier run into the same
// XML that this run no longer names are removed with the replacement.
// look.hdr is not used: PNG pictures are plain RGB, coded by the suite.
std::vector<std::string> WriteBdnFiles(const std::string& xmlPath,
                                       const std::vector<SubtitleEntry>& cues, const PgsLook& look);

// Draws the cues with libass and writes them as a presentation graphics
// stream to `path`, which is replaced only once the stream is complete: a
// run that fails changes no file and leaves no temporary file. Pictures go
// to the stream one by one as libass draws them, so a film's pictures are
// never held all at once; they are drawn and coded on `look.workers`
// threads. Returns the notes for the user: each cue the player's decoder
// shows late, and each cue whose picture changes while it is shown.
// `control.awaited` is called with the position (from 0) of the first cue
// of each picture before it goes to the stream, and a set `control.cancel`
// stops the run there with RunCancelled, the file left as it was. Throws
// OutputFileError when the file cannot be written and std::runtime_error
// when libass cannot start.
std::vector<std::string> WritePgsFile(const std::string& path,
                                      const std::vector<SubtitleEntry>& cues, const PgsLook& look,
                                      const RunControl& control = {});

// Writes the pictures of `drawing`, drawn and made ready on `look.workers`
// threads, to the chosen files, as WriteBluRayFiles does; the steps of a
// changing picture the player cannot show in time are left out. Returns the
// notes: each late cue, each change left out in part or held still, each
// forced event that shares its picture with others and, with `sayChanging`,
// each cue that changes while it is shown. `control` reports and stops the
// run as for WritePgsFile, on the calling thread in the pictures' order.
std::vector<std::string> WritePgsPictures(const BluRayFiles& files, const PgsLook& look,
                                          const PgsDrawing& drawing, bool sayChanging,
                                          const RunControl& control = {});

}  // namespace tesmora
