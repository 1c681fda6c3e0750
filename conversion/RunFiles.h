#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "output/FormatFiles.h"
#include "output/HelpFile.h"
#include "palette/Palette.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"
#include "subtitles/SubtitleList.h"
#include "timing/Timeline.h"

namespace tesmora {

// How every subtitle of a run is drawn and encoded.
struct RunLook {
  SubtitleStyle style;
  int outlineWidth = 3;
  Palette palette;
  RolePaletteIndices roles;
  int frameHeight = 576;  // 576 PAL, 480 NTSC
  TextSource source;      // how the cues' text lines are read
  int workers = 1;        // threads that draw and encode; the bytes are the same for any count
};

// The help file a run writes beside its outputs: the case's instructions and
// the listed files.
struct RunHelpFile {
  std::string path;
  HelpCase helpCase = HelpCase::NoIfo;
  std::vector<std::string> listing;
};

// What a run writes: the outputs of `formats` named `base` (folder and stem
// as the file system names them) plus an extension, what the VobSub index
// says of the track, and the help file, if any.
struct RunTarget {
  std::string base;
  OutputFormats formats;
  std::string language = "en";
  bool forced = false;
  std::optional<RunHelpFile> help;
};

// The names of the files of `formats` after `stem`: STEM.sup, STEM.idx,
// STEM.sub and STEM.rgb, each if chosen, in this order, as the help text
// lists them.
std::vector<std::string> OutputFileNamesOf(const OutputFormats& formats, const std::string& stem);

// A run stopped on request before its files were put in place.
class RunCancelled : public std::runtime_error {
 public:
  RunCancelled() : std::runtime_error("The run was stopped; no file was changed") {}
};

// How a run reports its way and is stopped: `awaited` is called on the
// calling thread with the position (from 0) of each subpicture before its
// packet is written; a set `cancel` flag, read before each, stops the run.
struct RunControl {
  std::function<void(std::size_t position)> awaited;
  const std::atomic<bool>* cancel = nullptr;
};

// Draws the subpictures of `timeline` on worker threads and writes their
// units into every chosen format and the help file. Every file replaces an
// earlier one only once all are complete: a run that fails or is stopped
// changes none and leaves no temporary file. Returns the threads that drew
// and encoded: fewer than look.workers when the system would not start them
// all (at least 1). Throws OutputFileError when a file cannot be written,
// SubtitleError for a subtitle that cannot become a packet, RunCancelled.
int WriteRunFiles(const RunTarget& target, const std::vector<SubtitleEntry>& cues,
                  const Timeline& timeline, const RunLook& look, const RunControl& control);

}  // namespace tesmora
