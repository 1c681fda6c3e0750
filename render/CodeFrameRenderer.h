#pragma once

#include <QRect>
#include <span>

#include "render/CodeFrame.h"
#include "render/EncodeArea.h"
#include "render/GlyphCache.h"
#include "render/PreparedCue.h"
#include "render/RoleInks.h"
#include "render/SubtitleStyle.h"

namespace tesmora {

// Draws subtitles one after another on a code frame, for when the picture is
// only for the encoder: the frame encodes to the very bytes of the key frame
// KeyFrameRenderer draws with the colours of the same inks. Between two
// subtitles only the rows the previous one drew on are cleared.
class CodeFrameRenderer {
 public:
  // Draws the cues shown together as KeyFrameRenderer::render does and
  // returns the same band, not cut to the frame.
  EncodeArea render(std::span<const CueToDraw> cues, const TextSource& source,
                    const SubtitleStyle& style, int outlineWidth, const RoleInks& inks,
                    int frameHeight);

  const CodeFrame& frame() const { return frame_; }

 private:
  CodeFrame frame_{576};
  QRect drawn_;
  // The glyphs drawn so far, for the lines to come; so a renderer belongs
  // to one thread.
  GlyphCache glyphs_;
};

}  // namespace tesmora
