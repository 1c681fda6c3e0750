#pragma once

#include <QImage>
#include <QRect>
#include <span>

#include "render/EncodeArea.h"
#include "render/FrameBitmap.h"
#include "render/GlyphCache.h"
#include "render/OutlinedLine.h"
#include "render/PreparedCue.h"
#include "render/SubtitleStyle.h"

namespace tesmora {

// Draws subtitles one after another on a pure-blue key frame for the
// encoder. Between two subtitles only the rows the previous one drew on are
// made blue again. Glyphs drawn once are kept for the subtitles after, so a
// renderer belongs to one thread.
class KeyFrameRenderer {
 public:
  // Draws the cues shown together on a key frame of `frameHeight` rows (576
  // PAL, 480 NTSC): bottom-placed cues stack upwards from the earliest,
  // placed cues each in their own place (see PlaceCues). Returns the band the
  // encoder reads: the cues' band, widened to every row the drawing changed,
  // not cut to the frame.
  EncodeArea render(std::span<const CueToDraw> cues, const TextSource& source,
                    const SubtitleStyle& style, int outlineWidth, const RoleColours& colours,
                    int frameHeight);

  const FrameBitmap& frame() const { return frame_; }

  // An image over the key frame's own bytes, without a copy. It stays valid
  // until the next render of another frame height.
  QImage image();

 private:
  // Makes the frame pure blue again where the last drawing changed it.
  void clearFrame(int frameHeight);

  FrameBitmap frame_{576};
  QRect drawn_;
  // The glyphs drawn so far, for the lines to come.
  GlyphCache glyphs_;
};

}  // namespace tesmora
