#include "app/DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QLibraryInfo>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tesmora {
namespace {

bool IsSet(const std::optional<std::string>& value) {
  return value.has_value() && !value->empty();
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) {
      return parts;
    }
    start = end + 1;
  }
}

// The platforms the toolkit tries, in its order, without their options
// ("xcb:option" is "xcb"). Unnamed, it tries a Wayland session's platform
// before the X display.
std::vector<std::string> TriedPlatforms(const DisplayEnvironment& environment) {
  if (IsSet(environment.platform)) {
    std::vector<std::string> names;
    for (const std::string& entry : Split(*environment.platform, ';')) {
      const std::string name = entry.substr(0, entry.find(':'));
      if (!name.empty()) {
        names.push_back(name);
      }
    }
    return names;
  }
  if (IsSet(environment.waylandDisplay) || environment.sessionType == "wayland") {
    return {"wayland", "xcb"};
  }
  return {"xcb"};
}

bool IsWayland(const std::string& platform) {
  return platform.rfind("wayland", 0) == 0;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

}  // namespace

std::optional<std::string> DisplayProblem(const DisplayEnvironment& environment,
                                          const DisplayProbes& probes) {
  if (!IsSet(environment.platform) && !IsSet(environment.x11Display) &&
      !IsSet(environment.waylandDisplay) && environment.sessionType != "wayland") {
    return std::string(
        "tesmora: no display found. Tesmora is a desktop program: start it in a graphical "
        "session (DISPLAY or WAYLAND_DISPLAY set), or under Xvfb.\n");
  }
  const std::string x11 = environment.x11Display.value_or(std::string());
  const std::string wayland = environment.waylandDisplay.value_or(std::string());
  std::vector<std::string> silent;  // the displays asked that did not answer
  for (const std::string& platform : TriedPlatforms(environment)) {
    if (platform == "xcb") {
      if (!x11.empty() && probes.xAnswers(x11)) {
        return std::nullopt;
      }
      silent.push_back("the X display " + Quoted(x11));
    } else if (IsWayland(platform)) {
      if (probes.waylandAnswers(wayland)) {
        return std::nullopt;
      }
      silent.push_back("the Wayland display " + Quoted(wayland.empty() ? "wayland-0" : wayland));
    } else {
      return std::nullopt;
    }
  }
  std::string named;
  for (std::size_t n = 0; n < silent.size(); ++n) {
    named += (n == 0 ? "" : n + 1 == silent.size() ? " nor " : ", ") + silent[n];
  }
  if (silent.size() > 1) {
    named = "neither " + named + " answers";
  } else if (silent.size() == 1) {
    named += " does not answer";
  } else {
    named = "no platform is named in \"" + environment.platform.value_or(std::string()) + "\"";
  }
  return "tesmora: no display could be reached: " + named +
         ". Tesmora is a desktop program: start it in a graphical session, or under Xvfb.\n";
}

std::optional<std::string> CommandLinePlatform(int argc, const char* const* argv) {
  std::optional<std::string> platform;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
      platform = argv[++i];
    }
  }
  return platform;
}

bool XDisplayAnswers(const std::string& display) {
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

bool WaylandDisplayAnswers(const std::string& display) {
  // Without the toolkit's Wayland platform the session's compositor is of
  // no use; the toolkit goes on to the X display.
  const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                       QStringLiteral("/platforms"));
  if (platforms.entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty()) {
    return false;
  }
  const std::string name = display.empty() ? std::string("wayland-0") : display;
  std::string path = name;
  if (name.front() != '/') {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') {
      return false;
    }
    path = std::string(runtime) + "/" + name;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof(address.sun_path)) {
    return false;
  }
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) {
    return false;
  }
  const bool answers =
      ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  ::close(socket);
  return answers;
}

}  // namespace tesmora
