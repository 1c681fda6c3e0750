#include "render/CrowdedCues.h"

#include <algorithm>
#include <map>

#include "render/CueLayout.h"

namespace tesmora {
namespace {

// At most this many groups are named; the rest are counted.
constexpr std::size_t kNamedGroups = 10;

// The cues of one subpicture read and measured in the style, reusing those
// of the subpicture before, which mostly shows the same cues.
class ShownCues {
 public:
  ShownCues(const std::vector<SubtitleEntry>& cues, const TextSource& source,
            const SubtitleStyle& style)
      : cues_(cues), source_(source), style_(style) {}

  std::vector<PreparedCue> take(const std::vector<int>& shown) {
    std::map<int, PreparedCue> kept;
    std::vector<PreparedCue> prepared;
    prepared.reserve(shown.size());
    for (const int cue : shown) {
      const auto earlier = previous_.find(cue);
      PreparedCue one =
          earlier != previous_.end()
              ? std::move(earlier->second)
              : PrepareCue(cues_.at(static_cast<std::size_t>(cue)).lines, source_, style_,
                           cues_.at(static_cast<std::size_t>(cue)).look.placement);
      prepared.push_back(one);
      kept.emplace(cue, std::move(one));
    }
    previous_ = std::move(kept);
    return prepared;
  }

  void forget() { previous_.clear(); }

 private:
  const std::vector<SubtitleEntry>& cues_;
  const TextSource& source_;
  const SubtitleStyle& style_;
  std::map<int, PreparedCue> previous_;
};

}  // namespace

std::string CueNumbersText(const std::vector<int>& positions) {
  std::vector<std::string> items;
  for (std::size_t i = 0; i < positions.size();) {
    std::size_t last = i;
    while (last + 1 < positions.size() && positions[last + 1] == positions[last] + 1) {
      ++last;
    }
    if (last < i + 2) {
      // Two in a row read better as two numbers.
      last = i;
    }
    std::string item = std::to_string(positions[i] + 1);
    if (last > i) {
      item += " to " + std::to_string(positions[last] + 1);
    }
    items.push_back(std::move(item));
    i = last + 1;
  }
  std::string text = "cues ";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) {
      text += i + 1 == items.size() ? " and " : ", ";
    }
    text += items[i];
  }
  return text;
}

std::string CrowdedCuesNote(const std::vector<SubtitleEntry>& cues,
                            std::span<const Subpicture> subpictures, const TextSource& source,
                            const SubtitleStyle& style, int frameHeight) {
  std::vector<std::vector<int>> groups;
  bool inGroup = false;
  ShownCues shown(cues, source, style);
  for (const Subpicture& subpicture : subpictures) {
    // A cue alone is checked before it is drawn; only stacks are looked at.
    if (subpicture.cues.size() < 2) {
      inGroup = false;
      shown.forget();
      continue;
    }
    const std::vector<PreparedCue> prepared = shown.take(subpicture.cues);
    if (LinesInsideFrame(PlaceCues(prepared, style, frameHeight), style, frameHeight)) {
      inGroup = false;
      continue;
    }
    if (!inGroup) {
      groups.emplace_back();
      inGroup = true;
    }
    groups.back().insert(groups.back().end(), subpicture.cues.begin(), subpicture.cues.end());
  }
  if (groups.empty()) {
    return {};
  }
  std::string named;
  for (std::size_t g = 0; g < groups.size() && g < kNamedGroups; ++g) {
    std::vector<int>& group = groups[g];
    std::sort(group.begin(), group.end());
    group.erase(std::unique(group.begin(), group.end()), group.end());
    named += (g > 0 ? "; " : "") + CueNumbersText(group);
  }
  if (groups.size() > kNamedGroups) {
    named += "; and " + std::to_string(groups.size() - kNamedGroups) + " more such group(s)";
  }
  return "Cues shown at the same time do not all fit in the frame together, and their lines "
         "beyond its edge are cut off: " +
         named + ". Please use a smaller font size or a lower offset.";
}

}  // namespace tesmora
