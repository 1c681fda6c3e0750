// The program start without a display it can use.
#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

#include "tests/tools/ExternalTool.h"

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

TEST(DisplayProblem, AsksTheXDisplayOnlyWhereTheToolkitWouldUseIt) {
  std::vector<std::string> asked;
  const auto answering = [&asked](bool answer) {
    return [&asked, answer](const std::string& display) {
      asked.push_back(display);
      return answer;
    };
  };
  EXPECT_EQ(DisplayProblem({}, answering(true)), kNoDisplay);
  EXPECT_EQ(DisplayProblem({"", "", ""}, answering(true)), kNoDisplay);
  EXPECT_EQ(DisplayProblem({std::nullopt, ":0", std::nullopt}, answering(true)), std::nullopt);
  EXPECT_EQ(DisplayProblem({std::nullopt, ":7", std::nullopt}, answering(false)),
            Unreachable(":7"));
  EXPECT_EQ(DisplayProblem({"xcb", "host:3.0", std::nullopt}, answering(false)),
            Unreachable("host:3.0"));
  EXPECT_EQ(DisplayProblem({"xcb", std::nullopt, std::nullopt}, answering(true)), Unreachable(""));
  EXPECT_EQ(asked, (std::vector<std::string>{":0", ":7", "host:3.0"}));
  // Other platforms and Wayland sessions are left to the toolkit.
  asked.clear();
  EXPECT_EQ(DisplayProblem({"offscreen", ":7", std::nullopt}, answering(false)), std::nullopt);
  EXPECT_EQ(DisplayProblem({std::nullopt, ":7", "wayland-0"}, answering(false)), std::nullopt);
  EXPECT_EQ(DisplayProblem({std::nullopt, std::nullopt, "wayland-0"}, answering(false)),
            std::nullopt);
  EXPECT_TRUE(asked.empty());
}

TEST(DisplayProblem, AnXDisplayThatIsNotThereDoesNotAnswer) {
  EXPECT_FALSE(XDisplayAnswers(":4711"));
  EXPECT_FALSE(XDisplayAnswers("no such display"));
}

// The program says so and ends with status 2, where the toolkit aborted.
TEST(ProgramStart, EndsWithStatusTwoWhenTheDisplayDoesNotAnswer) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4711"));
  const testing::ToolResult result =
      testing::RunTool(QStringLiteral(TESMORA_PROGRAM), {}, environment);
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.err.toStdString(), Unreachable(":4711"));

  environment.remove(QStringLiteral("DISPLAY"));
  const testing::ToolResult none =
      testing::RunTool(QStringLiteral(TESMORA_PROGRAM), {}, environment);
  EXPECT_EQ(none.code, 2);
  EXPECT_EQ(none.err.toStdString(), kNoDisplay);
}

}  // namespace
}  // namespace tesmora
