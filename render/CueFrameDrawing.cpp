#include "render/CueFrameDrawing.h"

#include <memory>
#include <span>

#include "render/KeyFrameRenderer.h"

namespace tesmora {
namespace {

// One worker's key frame, and the cues of its current subpicture.
struct CueFrameDrawer {
  KeyFrameRenderer renderer;
  std::vector<CueToDraw> drawn;
};

}  // namespace

DrawingFactory CueFrameDrawings(const std::vector<SubtitleEntry>& cues, const CueFrameLook& look) {
  return [&cues, look]() -> SubpictureDrawing {
    auto drawer = std::make_shared<CueFrameDrawer>();
    return [drawer, &cues, look](const Subpicture& subpicture) {
      drawer->drawn.clear();
      for (const int cue : subpicture.cues) {
        drawer->drawn.push_back(CueToDraw{cues.at(static_cast<std::size_t>(cue)).lines});
      }
      const EncodeArea area =
          drawer->renderer.render(std::span<const CueToDraw>(drawer->drawn), look.source,
                                  look.style, look.outlineWidth, look.colours, look.frameHeight);
      return DrawnSubpicture{&drawer->renderer.frame(), area, look.roles};
    };
  };
}

}  // namespace tesmora
