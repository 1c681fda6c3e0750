#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "pgs/Colour.h"
#include "pgs/ObjectLayout.h"
#include "pgs/PaletteQuantiser.h"
#include "pgs/Segments.h"
#include "pgs/VideoFormat.h"

namespace tesmora::pgs {

// One picture to show from `start` until `end`, in 90 kHz ticks, made of
// regions placed on the video.
struct TimedPicture {
  std::int64_t start = 0;
  std::int64_t end = 0;
  std::vector<PlacedPicture> regions;
  bool forced = false;
  // A step of a picture changing while it is shown (a move, say): when the
  // player cannot show it before it ends, it is left out and the picture
  // shown stays until the next.
  bool droppable = false;
  // Where the steps of a changing picture stay on the video: a new epoch
  // for a picture of one object inside it takes it as its window, so the
  // steps that follow fit that window and need no epoch of their own.
  std::optional<Window> reach = std::nullopt;
};

constexpr std::int64_t TicksFromMilliseconds(std::int64_t ms) {
  return ms * 90;
}

struct StreamOptions {
  VideoFormat video;
  ColourSpace colour = ColourSpace::Bt709;
};

// A picture the decoder could not show when asked: its number (1-based, in
// the order given; of the last to start where pictures overlap), by how
// many milliseconds (rounded up) it starts or ends late, and when it is
// shown, in ticks.
struct LateCue {
  int number = 0;
  std::int64_t start_late_ms = 0;
  std::int64_t end_late_ms = 0;
  std::int64_t shown = 0;
};

// One object of a shown picture: where it is and its palette indices.
struct ShownObject {
  int x = 0;
  int y = 0;
  bool forced = false;
  IndexedPicture picture;
};

// What the stream shows from `start` until `end` (ticks), as its display
// sets code it: the objects in their palette indices and the palette's
// colours (colours[i] is index i + 1; index 0 is transparent). `number` is
// that of the picture it shows, as LateCue counts them. A fade shows the
// same objects several times in turn, each with its colours.
struct ShownPicture {
  std::int64_t start = 0;
  std::int64_t end = 0;
  int number = 0;
  std::vector<ShownObject> objects;
  std::vector<Rgba> colours;
};

// Takes each shown picture once its end is known, in the order shown.
using ShownPictureSink = std::function<void(const ShownPicture&)>;

struct PgsStream {
  std::vector<std::uint8_t> bytes;
  std::vector<LateCue> late;
};

// The presentation graphics stream of the pictures, in order of start.
// Pictures that overlap in time are shown together while they do. Each
// change of what is shown is a display set: one that follows the previous
// with no gap replaces it, in the same epoch when its objects fit the
// epoch's windows; after a gap the previous is cleared at its end by a set
// without objects. Decoding times follow the player's decoder
// model, and a set never decodes before the previous one is shown: a
// picture that would is started late by the least needed and listed in
// `late`. Pictures with nothing visible on the frame are left out.
PgsStream WritePgsStream(std::span<const TimedPicture> pictures, const StreamOptions& options);

// The objects of one display set made ready to write: laid out on the
// video, given their shared palette and run-length coded. Making them
// depends on the picture alone, so it may run on any thread, ahead of the
// writer; the writer then only times and frames them.
struct PreparedObjects {
  std::vector<PlacedPicture> objects;            // as LayOutObjects gives them
  QuantisedPictures quantised;                   // one indexed picture per object
  std::vector<std::vector<std::uint8_t>> coded;  // each object's run-length data
};

PreparedObjects PrepareObjects(std::span<const PlacedPicture* const> regions,
                               const VideoFormat& video);
// The same, taking the regions' pixels (LayOutObjects keeps a lone region's
// own), which saves copying them.
PreparedObjects PrepareObjects(std::vector<PlacedPicture>&& regions, const VideoFormat& video);

// A picture made ready for PgsStreamWriter::add.
struct PreparedPicture {
  std::int64_t start = 0;
  std::int64_t end = 0;
  bool forced = false;
  PreparedObjects objects;
  bool droppable = false;       // as TimedPicture::droppable
  std::optional<Window> reach;  // as TimedPicture::reach
};

PreparedPicture PreparePicture(const TimedPicture& picture, const VideoFormat& video);
PreparedPicture PreparePicture(TimedPicture&& picture, const VideoFormat& video);

// The same stream written picture by picture, so a film's pictures need not
// all be held at once: each picture given to add() starts no earlier than
// the one before and does not overlap it (a picture that does replaces the
// shown one from its start). Late pictures are numbered in the order added.
class PgsStreamWriter {
 public:
  // `shown`, when given, takes every picture the stream shows, so another
  // form of the same subtitles (pictures in files) shows exactly what the
  // stream does.
  explicit PgsStreamWriter(const StreamOptions& options, ShownPictureSink shown = {});
  ~PgsStreamWriter();
  PgsStreamWriter(const PgsStreamWriter&) = delete;
  PgsStreamWriter& operator=(const PgsStreamWriter&) = delete;

  // Returns false when a droppable picture was left out.
  bool add(const TimedPicture& picture);
  // The same for a picture made ready beforehand (PreparePicture with this
  // writer's video): the bytes are those add() writes for the picture.
  bool add(PreparedPicture&& picture);
  // The bytes written since the last call, which the writer no longer
  // holds: a caller may store them as it goes rather than hold the whole
  // stream. finish() then gives the rest.
  std::vector<std::uint8_t> takeBytes();
  // The stream (what takeBytes() has not given) with the last picture
  // cleared, and every late picture.
  PgsStream finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tesmora::pgs
