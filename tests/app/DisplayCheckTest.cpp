// The program start without a display it can use.
#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/cli/ExternalTool.h"

namespace tesmora {
namespace {

const std::string kNoDisplay =
    "tesmora: no display found. Tesmora is a desktop program: start it in a graphical session "
    "(DISPLAY or WAYLAND_DISPLAY set), or under Xvfb.\n";

std::string Unreachable(const std::string& display) {
  return "tesmora: no display could be reached: the X display \"" + display +
         "\" does not answer. Tesmora is a desktop program: start it in a graphical session, or "
         "under Xvfb.\n";
}

std::string NeitherAnswers(const std::string& wayland, const std::string& x11) {
  return "tesmora: no display could be reached: neither the Wayland display \"" + wayland +
         "\" nor the X display \"" + x11 +
         "\" answers. Tesmora is a desktop program: start it in a graphical session, or under "
         "Xvfb.\n";
}

// Probes that answer for the displays named live and record every display
// asked, "x:" or "wayland:" before its name.
struct FakeDisplays {
  std::vector<std::string> live;
  std::vector<std::string> asked;

  DisplayProbes probes() {
    const auto probe = [this](const std::string& kind) {
      return [this, kind](const std::string& display) {
        asked.push_back(kind + display);
        return std::find(live.begin(), live.end(), kind + display) != live.end();
      };
    };
    return {probe("x:"), probe("wayland:")};
  }
};

TEST(DisplayProblem, AsksTheXDisplayOnlyWhereTheToolkitWouldUseIt) {
  FakeDisplays displays{{"x::0"}, {}};
  EXPECT_EQ(DisplayProblem({}, displays.probes()), kNoDisplay);
  EXPECT_EQ(DisplayProblem({"", "", "", ""}, displays.probes()), kNoDisplay);
  EXPECT_EQ(DisplayProblem({std::nullopt, ":0", std::nullopt, std::nullopt}, displays.probes()),
            std::nullopt);
  EXPECT_EQ(DisplayProblem({std::nullopt, ":7", std::nullopt, std::nullopt}, displays.probes()),
            Unreachable(":7"));
  EXPECT_EQ(DisplayProblem({"xcb", "host:3.0", std::nullopt, std::nullopt}, displays.probes()),
            Unreachable("host:3.0"));
  EXPECT_EQ(
      DisplayProblem({"xcb:nograb", std::nullopt, std::nullopt, std::nullopt}, displays.probes()),
      Unreachable(""));
  EXPECT_EQ(displays.asked, (std::vector<std::string>{"x::0", "x::7", "x:host:3.0"}));
  // Platforms without a display are left to the toolkit.
  displays.asked.clear();
  EXPECT_EQ(DisplayProblem({"offscreen", ":7", std::nullopt, std::nullopt}, displays.probes()),
            std::nullopt);
  EXPECT_TRUE(displays.asked.empty());
}

// With WAYLAND_DISPLAY set or a Wayland session, the toolkit tries Wayland
// first and then the X display; it aborts only when neither starts.
TEST(DisplayProblem, TriesWaylandAndThenTheXDisplayAsTheToolkitDoes) {
  FakeDisplays displays{{"wayland:wayland-0", "wayland:", "x::0"}, {}};
  EXPECT_EQ(DisplayProblem({std::nullopt, ":7", "wayland-0", std::nullopt}, displays.probes()),
            std::nullopt);
  EXPECT_EQ(DisplayProblem({std::nullopt, ":0", "wayland-9", std::nullopt}, displays.probes()),
            std::nullopt);
  EXPECT_EQ(
      DisplayProblem({std::nullopt, std::nullopt, "wayland-9", std::nullopt}, displays.probes()),
      NeitherAnswers("wayland-9", ""));
  EXPECT_EQ(DisplayProblem({std::nullopt, ":7", "wayland-9", std::nullopt}, displays.probes()),
            NeitherAnswers("wayland-9", ":7"));
  // A Wayland session without WAYLAND_DISPLAY uses the default display.
  EXPECT_EQ(DisplayProblem({std::nullopt, ":7", std::nullopt, "wayland"}, displays.probes()),
            std::nullopt);
  EXPECT_EQ(displays.asked, (std::vector<std::string>{"wayland:wayland-0", "wayland:wayland-9",
                                                      "x::0", "wayland:wayland-9",
                                                      "wayland:wayland-9", "x::7", "wayland:"}));
  // A platform list named by the user is tried in its order.
  displays.asked.clear();
  EXPECT_EQ(DisplayProblem({"wayland;xcb", ":0", "wayland-9", std::nullopt}, displays.probes()),
            std::nullopt);
  EXPECT_EQ(DisplayProblem({"wayland", ":0", "wayland-9", std::nullopt}, displays.probes()),
            "tesmora: no display could be reached: the Wayland display \"wayland-9\" does not "
            "answer. Tesmora is a desktop program: start it in a graphical session, or under "
            "Xvfb.\n");
  EXPECT_EQ(displays.asked,
            (std::vector<std::string>{"wayland:wayland-9", "x::0", "wayland:wayland-9"}));
}

TEST(DisplayProblem, TakesThePlatformNamedOnTheCommandLine) {
  const char* arguments[] = {"tesmora", "-platform", "offscreen", "film.srt", "--platform", "xcb"};
  EXPECT_EQ(CommandLinePlatform(6, arguments), "xcb");
  EXPECT_EQ(CommandLinePlatform(3, arguments), "offscreen");
  EXPECT_EQ(CommandLinePlatform(2, arguments), std::nullopt);
}

TEST(DisplayProblem, AnXDisplayThatIsNotThereDoesNotAnswer) {
  EXPECT_FALSE(XDisplayAnswers(":4711"));
  EXPECT_FALSE(XDisplayAnswers("no such display"));
  EXPECT_FALSE(WaylandDisplayAnswers("/nonexistent/wayland-4711"));
}

// The program says so and ends with status 2, where the toolkit aborted.
TEST(ProgramStart, EndsWithStatusTwoWhenTheDisplayDoesNotAnswer) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  environment.remove(QStringLiteral("XDG_SESSION_TYPE"));
  environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4711"));
  const testing::ToolResult result =
      testing::RunTool(QStringLiteral(TESMORA_PROGRAM), {}, environment);
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err.toStdString(), Unreachable(":4711"));

  // A Wayland display that is not there, with or without an X display
  // that is not there either.
  environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-4711"));
  const testing::ToolResult neither =
      testing::RunTool(QStringLiteral(TESMORA_PROGRAM), {}, environment);
  EXPECT_EQ(neither.code, 2);
  EXPECT_EQ(neither.err.toStdString(), NeitherAnswers("wayland-4711", ":4711"));
  environment.remove(QStringLiteral("DISPLAY"));
  const testing::ToolResult waylandOnly =
      testing::RunTool(QStringLiteral(TESMORA_PROGRAM), {}, environment);
  EXPECT_EQ(waylandOnly.code, 2);
  EXPECT_EQ(waylandOnly.err.toStdString(), NeitherAnswers("wayland-4711", ""));

  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  environment.remove(QStringLiteral("XDG_SESSION_TYPE"));
  const testing::ToolResult none =
      testing::RunTool(QStringLiteral(TESMORA_PROGRAM), {}, environment);
  EXPECT_EQ(none.code, 2);
  EXPECT_EQ(none.err.toStdString(), kNoDisplay);
}

}  // namespace
}  // namespace tesmora
