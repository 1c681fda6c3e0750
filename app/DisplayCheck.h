#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tesmora {

// What the program start finds of a display from its environment.
struct DisplayEnvironment {
  std::optional<std::string> platform;        // QT_QPA_PLATFORM
  std::optional<std::string> x11Display;      // DISPLAY
  std::optional<std::string> waylandDisplay;  // WAYLAND_DISPLAY
};

// Whether an X display of the given name answers.
using DisplayProbe = std::function<bool(const std::string& display)>;

// The message for the user when the window could not come up, or nothing
// when a display is at hand. An X display the toolkit would use is asked
// first, since a display that does not answer makes the toolkit abort.
std::optional<std::string> DisplayProblem(const DisplayEnvironment& environment,
                                          const DisplayProbe& answers);

// Whether the X display of that name accepts a connection.
bool XDisplayAnswers(const std::string& display);

}  // namespace tesmora
