#include "app/DisplayCheck.h"

#include <xcb/xcb.h>

namespace tesmora {
namespace {

bool IsSet(const std::optional<std::string>& value) {
  return value.has_value() && !value->empty();
}

}  // namespace

std::optional<std::string> DisplayProblem(const DisplayEnvironment& environment,
                                          const DisplayProbe& answers) {
  if (!IsSet(environment.platform) && !IsSet(environment.x11Display) &&
      !IsSet(environment.waylandDisplay)) {
    return std::string(
        "tesmora: no display found. Tesmora is a desktop program: start it in a graphical "
        "session (DISPLAY or WAYLAND_DISPLAY set), or under Xvfb.\n");
  }
  // The toolkit uses the X display unless another platform is named, or a
  // Wayland session is there without one.
  const bool usesX = IsSet(environment.platform)
                         ? environment.platform->rfind("xcb", 0) == 0
                         : IsSet(environment.x11Display) && !IsSet(environment.waylandDisplay);
  if (!usesX) {
    return std::nullopt;
  }
  const std::string display = environment.x11Display.value_or(std::string());
  if (!display.empty() && answers(display)) {
    return std::nullopt;
  }
  return "tesmora: no display could be reached: the X display \"" + display +
         "\" does not answer. Tesmora is a desktop program: start it in a graphical session, "
         "or under Xvfb.\n";
}

bool XDisplayAnswers(const std::string& display) {
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

}  // namespace tesmora
