#pragma once

#include <functional>
#include <memory>
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
  // One per region: whether it shows a forced event. Empty when none does.
  std::vector<bool> forced;
  // The event whose change (a fade, move or transform) this picture is a
  // step of, when it follows the first picture of its stretch; -1 for the
  // first picture, which starts where the shown events start or end.
  int changeOf = -1;
  // For the pictures of a stretch that changes: the box every picture of
  // the stretch stays within; empty otherwise.
  FrameBox reach;
};

// A change drawn only at its start and its end: from fromMs until toMs its
// picture is held still.
struct HeldChange {
  int event = 0;
  long long fromMs = 0;
  long long toMs = 0;
};

// How long a change is drawn frame by frame at the start and at the end of
// the stretch it is in; in between the picture is held still. A move over
// ten minutes would otherwise be fourteen thousand display sets.
inline constexpr long long kLongestDrawnChangeMs = 30'000;

// What drawing found beyond the pictures.
struct PictureReport {
  // Events whose picture changes while they show (fades, moves,
  // transforms, karaoke): each change is a picture of its own for now.
  int changingEvents = 0;
  std::vector<int> changingEventIndices;  // in order
  std::vector<HeldChange> heldStill;      // in time order
  // Forced events drawn in one region with events that are not forced; the
  // region is marked forced. In order.
  std::vector<int> mixedForcedEvents;
};

// The events to mark forced and a renderer of the same script that shows
// only them, at the same times, to tell their regions from the others'.
struct ForcedEvents {
  std::vector<bool> events;      // by event; empty when none is forced
  AssRenderer* alone = nullptr;  // needed when forced and other events show together
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
// ends one picture and starts the next; a stretch longer than twice
// kLongestDrawnChangeMs is drawn so only at either end and held still in
// between. Stretches with nothing drawn give no picture. The regions of
// forced events are marked.
PictureReport FindStablePictures(AssRenderer& renderer, const HdTarget& target,
                                 const PictureSink& sink, const ForcedEvents& forced = {});

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

// Whether a stretch whose events have no animating tag is drawn a second
// time, at its last frame, to confirm its picture held. A script read as
// its author wrote it needs this: libass may change a picture no tag
// explains. A script built from cues holds only the tags the converter
// wrote, none of which animates, so its pictures are trusted to hold.
enum class HeldPictureCheck { LastFrame, None };

// Draws stretches one by one as FindStablePictures does, forced regions
// marked and long changes held still alike, handing their pictures to
// `sink`; report() tells what was found in the stretches drawn so far. The
// renderers (and `forced.alone`) must be drawn by this drawer alone.
class StretchDrawer {
 public:
  StretchDrawer(AssRenderer& renderer, const HdTarget& target, const PictureSink& sink,
                const ForcedEvents& forced = {},
                HeldPictureCheck check = HeldPictureCheck::LastFrame);
  ~StretchDrawer();
  StretchDrawer(const StretchDrawer&) = delete;
  StretchDrawer& operator=(const StretchDrawer&) = delete;

  void draw(const PictureStretch& stretch);
  PictureReport report();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// Draws one stretch with no event forced, handing its pictures to `sink`;
// returns the events blamed for a change while it showed (none when its
// picture held).
std::vector<int> DrawStretch(AssRenderer& renderer, const HdTarget& target,
                             const PictureStretch& stretch, const PictureSink& sink);

}  // namespace tesmora
