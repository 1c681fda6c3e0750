#include "hdrender/AssRenderer.h"

#include <algorithm>
#include <cstdarg>
#include <stdexcept>
#include <string>

#include "hdrender/ImageComposite.h"

namespace tesmora {

namespace {

constexpr int kBitmapCacheMegabytes = 16;

void DropMessage(int /*level*/, const char* /*format*/, va_list /*args*/, void* /*data*/) {}

}  // namespace

void AssRenderer::LibraryFree::operator()(ASS_Library* library) const {
  ass_library_done(library);
}
void AssRenderer::RendererFree::operator()(ASS_Renderer* renderer) const {
  ass_renderer_done(renderer);
}
void AssRenderer::TrackFree::operator()(ASS_Track* track) const {
  ass_free_track(track);
}

AssRenderer::AssRenderer(std::string_view script, const HdTarget& target, AssShaping shaping) {
  library_.reset(ass_library_init());
  if (!library_) {
    throw std::runtime_error("libass could not start");
  }
  ass_set_message_cb(library_.get(), DropMessage, nullptr);
  renderer_.reset(ass_renderer_init(library_.get()));
  if (!renderer_) {
    throw std::runtime_error("libass could not start its renderer");
  }
  ass_set_frame_size(renderer_.get(), target.width, target.height);
  ass_set_storage_size(renderer_.get(), target.width, target.height);
  ass_set_shaper(renderer_.get(),
                 shaping == AssShaping::Complex ? ASS_SHAPING_COMPLEX : ASS_SHAPING_SIMPLE);
  ass_set_fonts(renderer_.get(), nullptr, "sans-serif", ASS_FONTPROVIDER_AUTODETECT, nullptr, 1);
  // libass keeps the bitmaps it drew for reuse, by default up to a few
  // hundred megabytes a renderer; a film's cues rarely repeat, and a run may
  // hold one renderer per thread, so each keeps only what a scene reuses.
  ass_set_cache_limits(renderer_.get(), 0, kBitmapCacheMegabytes);
  // libass reads the buffer in place, so it gets a copy of its own.
  std::string buffer(script);
  track_.reset(ass_read_memory(library_.get(), buffer.data(), buffer.size(), nullptr));
  if (!track_) {
    throw std::runtime_error("libass could not read the subtitles as ASS or SSA");
  }
}

AssRenderer::~AssRenderer() = default;

void AssRenderer::setEventTimes(std::span<const CueTime> times) {
  const std::size_t count = std::min(times.size(), static_cast<std::size_t>(eventCount()));
  for (std::size_t i = 0; i < count; ++i) {
    ASS_Event& event = track_->events[i];
    event.Start = times[i].startMs;
    event.Duration = std::max(0LL, times[i].endMs - times[i].startMs);
  }
}

int AssRenderer::eventCount() const {
  return track_->n_events;
}

CueTime AssRenderer::eventTime(int event) const {
  const ASS_Event& e = track_->events[event];
  return {e.Start, e.Start + std::max(0LL, e.Duration)};
}

std::string_view AssRenderer::eventText(int event) const {
  const char* text = track_->events[event].Text;
  return text != nullptr ? std::string_view(text) : std::string_view();
}

std::string_view AssRenderer::eventEffect(int event) const {
  const char* effect = track_->events[event].Effect;
  return effect != nullptr ? std::string_view(effect) : std::string_view();
}

std::string_view AssRenderer::eventStyle(int event) const {
  const int style = track_->events[event].Style;
  if (style < 0 || style >= track_->n_styles || track_->styles[style].Name == nullptr) {
    return {};
  }
  return track_->styles[style].Name;
}

std::vector<std::string> AssRenderer::styleNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < track_->n_styles; ++i) {
    const std::string name = track_->styles[i].Name != nullptr ? track_->styles[i].Name : "";
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(name);
    }
  }
  return names;
}

RenderedFrame AssRenderer::render(long long ms) {
  RenderedFrame frame;
  frame.change = changeAt(ms);
  frame.regions = lastRegions();
  return frame;
}

FrameChange AssRenderer::changeAt(long long ms) {
  int changed = 0;
  last_ = ass_render_frame(renderer_.get(), track_.get(), ms, &changed);
  return changed == 0   ? FrameChange::None
         : changed == 1 ? FrameChange::Position
                        : FrameChange::Content;
}

FrameBox Joined(const FrameBox& a, const FrameBox& b) {
  if (a.width <= 0 || a.height <= 0) {
    return b;
  }
  if (b.width <= 0 || b.height <= 0) {
    return a;
  }
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  return {left, top, std::max(a.x + a.width, b.x + b.width) - left,
          std::max(a.y + a.height, b.y + b.height) - top};
}

FrameBox AssRenderer::lastBounds() const {
  FrameBox box;
  for (const ASS_Image* image = last_; image != nullptr; image = image->next) {
    if (image->w > 0 && image->h > 0) {
      box = Joined(box, {image->dst_x, image->dst_y, image->w, image->h});
    }
  }
  return box;
}

std::vector<RgbaRegion> AssRenderer::lastRegions() const {
  return CompositeImages(last_);
}

}  // namespace tesmora
