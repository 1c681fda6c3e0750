#pragma once

// The BDN XML of a subtitle track (version 0.93): the interchange form in
// which Blu-ray authoring suites import subtitles as pictures, one PNG file
// per picture beside the XML, each event with its times on the video's
// frames.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pgs/VideoFormat.h"

namespace tesmora::pgs {

// The frame shown at `ticks` (90 kHz) into the video: the one whose time
// has begun. A time given in whole milliseconds may lie up to a millisecond
// before the frame it stands for (rounded or cut), so it counts as that
// frame.
std::int64_t FrameAt(std::int64_t ticks, FrameRateCode rate);

// A frame count as a non-drop timecode HH:MM:SS:FF counted at the rate's
// nominal whole number of frames a second: 24 for 23.976, 30 for 29.97, 60
// for 59.94. So one real hour at 23.976 (frame 86313) is 00:59:56:09.
std::string BdnTimecode(std::int64_t frame, FrameRateCode rate);

// One picture of an event: its file beside the XML and its place.
struct BdnGraphic {
  int width = 0;
  int height = 0;
  int x = 0;
  int y = 0;
  std::string file;
};

// Pictures shown from frame `in` until frame `out` (exclusive).
struct BdnEvent {
  std::int64_t in = 0;
  std::int64_t out = 0;
  bool forced = false;
  std::vector<BdnGraphic> graphics;  // one or two
};

struct BdnTrack {
  std::string title;             // the Name Title
  std::string language = "und";  // ISO 639-2
  VideoFormat video;
};

// The XML text of the track's events, in UTF-8 with a line per element.
// Attribute values and file names are escaped.
std::string BdnXmlText(const BdnTrack& track, std::span<const BdnEvent> events);

// The names of the pictures a BDN XML text names in its Graphic elements,
// in order, unescaped; text that is not BDN XML names none. Used to find
// the pictures of an earlier run that a new one no longer writes.
std::vector<std::string> BdnGraphicFiles(std::string_view xml);

}  // namespace tesmora::pgs
