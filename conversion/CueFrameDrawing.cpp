#include "conversion/CueFrameDrawing.h"

#include <memory>
#include <span>

#include "render/CodeFrameDrawing.h"
#include "render/CodeFrameRenderer.h"

namespace tesmora {
namespace {

// One worker's code frame, and the cues of its current subpicture.
struct CueFrameDrawer {
  CodeFrameRenderer renderer;
  std::vector<CueToDraw> drawn;
};

}  // namespace

DrawingFactory CueFrameDrawings(const std::vector<SubtitleEntry>& cues, const CueFrameLook& look) {
  const RoleInks inks = InksOfRoleColours(look.colours, look.keys);
  return [&cues, look, inks]() -> SubpictureDrawing {
    auto drawer = std::make_shared<CueFrameDrawer>();
    return [drawer, &cues, look, inks](const Subpicture& subpicture) {
      drawer->drawn.clear();
      for (const int cue : subpicture.cues) {
        const SubtitleEntry& entry = cues.at(static_cast<std::size_t>(cue));
        drawer->drawn.push_back(CueToDraw{entry.lines, entry.look});
      }
      const EncodeArea area =
          drawer->renderer.render(std::span<const CueToDraw>(drawer->drawn), look.source,
                                  look.style, look.outlineWidth, inks, look.frameHeight);
      return DrawnSubpicture{nullptr, area, look.roles, &drawer->renderer.frame()};
    };
  };
}

}  // namespace tesmora
