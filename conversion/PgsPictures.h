#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/CueTime.h"
#include "core/ThreadStart.h"
#include "hdrender/AssRenderer.h"
#include "hdrender/HdTarget.h"
#include "hdrender/StablePictures.h"
#include "pgs/StreamWriter.h"

namespace tesmora {

// One picture of the film made ready for the stream's writer, and the
// script's first event it shows.
struct PreparedCuePicture {
  pgs::PreparedPicture picture;
  int firstEvent = 0;
  long long startMs = 0;  // when it shows, as drawn
  int changeOf = -1;      // the event whose change it is a step of, as TimedPicture::changeOf
};

using PreparedPictureSink = std::function<void(PreparedCuePicture&&)>;

// How the pictures of a script are drawn and made ready.
struct PgsDrawing {
  std::string_view script;         // ASS, as libass reads it
  std::span<const CueTime> times;  // the events' times to the millisecond, or none
  HdTarget target;
  AssShaping shaping = AssShaping::Complex;
  pgs::VideoFormat video;
  bool forced = false;  // every picture forced
  // The style whose events' regions are marked forced, one region at a
  // time; empty for none.
  std::string forcedStyle;
  // LastFrame for a script read as given; None for one built from cues.
  HeldPictureCheck heldCheck = HeldPictureCheck::LastFrame;
};

// Draws the script's pictures with libass as FindStablePictures does
// (forced regions marked, long changes held still, the steps of a change
// droppable and sharing the window of their reach when it is at most half
// the video) and makes each ready for the stream (laid out, quantised, run-length coded:
// PreparePicture) on up to `workers` threads, each with a renderer of its own that draws whole
// scenes (PictureScenes), so the pixels and the bytes are the same with any
// count. The pictures reach `sink` on the calling thread in time order; at
// most two units of a few scenes per worker wait for it, so a film's
// pictures are never held all at once (a scene that changes at every frame,
// a long \move, is held whole until its turn). With fewer than two
// workers, or when no thread starts, the calling thread does it all. A
// failure (libass cannot start, or the sink throws) stops the workers
// before it is passed on. The report's lists are in order, as one renderer
// drawing alone gives them. Throws std::runtime_error when libass cannot
// start or read the script.
PictureReport DrawPgsPictures(const PgsDrawing& drawing, int workers,
                              const PreparedPictureSink& sink,
                              const ThreadStarter& startThread = StartThread);

}  // namespace tesmora
