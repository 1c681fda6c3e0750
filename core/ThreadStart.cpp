#include "core/ThreadStart.h"

namespace tesmora {

std::thread StartThread(std::function<void()> work) {
  return std::thread(std::move(work));
}

}  // namespace tesmora
