#pragma once

#include <functional>
#include <thread>

namespace tesmora {

// Starts a thread that runs `work`. Throws std::system_error when the system
// cannot start one: a limit on processes or threads (ulimit -u), or no
// memory for its stack. Runs that start helper threads take it as a
// parameter, so that a test can refuse some starts.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

// The system's own thread start.
std::thread StartThread(std::function<void()> work);

}  // namespace tesmora
