#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "hdrender/AssRenderer.h"
#include "hdrender/HdTarget.h"
#include "hdrender/RgbaRegion.h"

namespace tesmora {

// A picture that stays on the frame unchanged from startMs until endMs.
struct TimedPicture {
  long long startMs = 0;
  long long endMs = 0;
  std::vector<RgbaRegion> regions;  // one or two, top to bottom
  std::vector<int> events;          // the script's events shown, in order
};

// What drawing found beyond the pictures.
struct PictureReport {
  // Events whose picture changes while they show (fades, moves,
  // transforms, karaoke): each change is a picture of its own for now.
  int changingEvents = 0;
  std::vector<int> changingEventIndices;  // in order
};

struct StablePictures {
  std::vector<TimedPicture> pictures;  // in time order, none overlapping
  PictureReport report;
};

// Takes each picture as it is drawn, in time order. A film's pictures take
// hundreds of megabytes together at 1080 lines, so a writer takes them one by
// one rather than all at the end.
using PictureSink = std::function<void(TimedPicture&&)>;

// Whether an event's text or effect can make its picture change while it
// shows: the animating override tags (\fad, \fade, \move, \t, the karaoke
// \k family) or a scroll or banner effect.
bool MayChangeWhileShown(std::string_view text, std::string_view effect);

// Splits the script's timeline where the set of shown events changes and
// draws each stretch. A stretch whose events cannot change is drawn once
// (libass confirms at its last frame that the picture held); otherwise it is
// drawn at every frame of the target's rate, and each change libass reports
// ends one picture and starts the next. Stretches with nothing drawn give no
// picture.
PictureReport FindStablePictures(AssRenderer& renderer, const HdTarget& target,
                                 const PictureSink& sink);

// A stretch of the timeline over which the same events show.
struct PictureStretch {
  long long startMs = 0;
  long long endMs = 0;
  std::vector<int> events;  // in the script's order
};

// The script's stretches in time order, gathered into scenes: consecutive
// stretches that share an event belong to one scene. libass keeps an event
// where it placed it in the frame before, so a scene must be drawn in order
// by one renderer; different scenes share no event and may be drawn by
// different renderers, in any order, to the same pixels.
std::vector<std::vector<PictureStretch>> PictureScenes(const AssRenderer& renderer);

// Draws one stretch as FindStablePictures does, handing its pictures to
// `sink`; returns the events blamed for a change while it showed (none when
// its picture held).
std::vector<int> DrawStretch(AssRenderer& renderer, const HdTarget& target,
                             const PictureStretch& stretch, const PictureSink& sink);

}  // namespace tesmora
