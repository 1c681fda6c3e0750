#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tesmora {

// What the program start finds of a display from its environment and its
// command line.
struct DisplayEnvironment {
  std::optional<std::string> platform;        // QT_QPA_PLATFORM, or -platform on the command line
  std::optional<std::string> x11Display;      // DISPLAY
  std::optional<std::string> waylandDisplay;  // WAYLAND_DISPLAY
  std::optional<std::string> sessionType;     // XDG_SESSION_TYPE
};

// Whether a display of the given name answers: an X display by its DISPLAY
// name, a Wayland display by its WAYLAND_DISPLAY name (empty for the
// default one).
struct DisplayProbes {
  std::function<bool(const std::string& display)> xAnswers;
  std::function<bool(const std::string& display)> waylandAnswers;
};

// The message for the user when the window could not come up, or nothing
// when a display is at hand. The toolkit tries its platforms in turn (a
// Wayland session's first, then the X display, or those named in
// QT_QPA_PLATFORM) and aborts when none starts; each of those that needs a
// display is asked here first. Platforms without a display (offscreen,
// vnc, ...) are left to the toolkit.
std::optional<std::string> DisplayProblem(const DisplayEnvironment& environment,
                                          const DisplayProbes& probes);

// The platform named on the command line with -platform or --platform, the
// last one given.
std::optional<std::string> CommandLinePlatform(int argc, const char* const* argv);

// Whether the X display of that name accepts a connection.
bool XDisplayAnswers(const std::string& display);

// Whether a Wayland compositor listens at the display of that name (a path,
// or a socket name in XDG_RUNTIME_DIR; "wayland-0" when empty) and the
// toolkit has a Wayland platform to talk to it.
bool WaylandDisplayAnswers(const std::string& display);

}  // namespace tesmora
