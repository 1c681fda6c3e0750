#pragma once

#include <ass/ass.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/CueTime.h"
#include "hdrender/HdTarget.h"
#include "hdrender/RgbaRegion.h"

namespace tesmora {

// What libass says of a frame against the frame it drew before.
enum class FrameChange {
  None,      // the same picture
  Position,  // the same images, moved
  Content,   // other images
};

// How libass lays out text. Complex shaping (HarfBuzz: kerning, ligatures,
// the scripts that need shaping) is what players such as mpv and VLC use;
// simple shaping (FriBidi only) is what FFmpeg's "subtitles" filter uses, as
// it sets no shaping of its own and libass then takes the simple one.
enum class AssShaping { Complex, Simple };

// A box on the frame; empty when its width is 0.
struct FrameBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  friend bool operator==(const FrameBox&, const FrameBox&) = default;
};

// The smallest box holding both.
FrameBox Joined(const FrameBox& a, const FrameBox& b);

// One frame as libass draws it.
struct RenderedFrame {
  std::vector<RgbaRegion> regions;  // at most two, top to bottom; none when nothing shows
  FrameChange change = FrameChange::None;
};

// An ASS script read by libass, with a renderer for one target's frame.
// Fonts are found through fontconfig; libass's own messages are dropped.
// One object draws one script on one thread; objects share nothing.
class AssRenderer {
 public:
  // Reads the script (ASS or SSA, in UTF-8) for a frame of the target: the
  // script's own resolution is scaled to the frame. Throws
  // std::runtime_error when libass cannot start or cannot read the script.
  AssRenderer(std::string_view script, const HdTarget& target,
              AssShaping shaping = AssShaping::Complex);
  ~AssRenderer();
  AssRenderer(const AssRenderer&) = delete;
  AssRenderer& operator=(const AssRenderer&) = delete;

  // Sets the times of the events, in ms, in the script's order: ASS times
  // are centiseconds, the cues' own are milliseconds. Extra times are left
  // out, missing ones keep the script's.
  void setEventTimes(std::span<const CueTime> times);

  int eventCount() const;
  // When event i shows: [start, end) in ms.
  CueTime eventTime(int event) const;
  // The text of event i as the script gives it, override blocks and all.
  std::string_view eventText(int event) const;
  // The effect field of event i (scrolling and banner effects move it).
  std::string_view eventEffect(int event) const;
  // The name of the style event i is drawn in.
  std::string_view eventStyle(int event) const;
  // The names of the script's styles, in its order, each once (libass keeps
  // a "Default" of its own for events whose style the script lacks).
  std::vector<std::string> styleNames() const;

  // Draws the frame at `ms`, against the frame drawn before.
  RenderedFrame render(long long ms);
  // Draws the frame at `ms` and says only how it differs from the one
  // before; lastRegions() composites it when it is wanted.
  FrameChange changeAt(long long ms);
  // The picture of the frame drawn last.
  std::vector<RgbaRegion> lastRegions() const;
  // The box holding every image of the frame drawn last, without drawing it.
  FrameBox lastBounds() const;

 private:
  struct LibraryFree {
    void operator()(ASS_Library* library) const;
  };
  struct RendererFree {
    void operator()(ASS_Renderer* renderer) const;
  };
  struct TrackFree {
    void operator()(ASS_Track* track) const;
  };

  std::unique_ptr<ASS_Library, LibraryFree> library_;
  std::unique_ptr<ASS_Renderer, RendererFree> renderer_;
  std::unique_ptr<ASS_Track, TrackFree> track_;
  // libass's images of the last frame; they live until the next is drawn.
  const ASS_Image* last_ = nullptr;
};

}  // namespace tesmora
