#pragma once

namespace tesmora {

// A cue's time as the file gives it, in ms. The end may lie at or before
// the start in a faulty file.
struct CueTime {
  long long startMs = 0;
  long long endMs = 0;
};

}  // namespace tesmora
