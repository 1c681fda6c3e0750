#include "subtitles/CueLines.h"

#include <gtest/gtest.h>

#include <iterator>

#include "subtitles/SubtitleList.h"

namespace tesmora {
namespace {

// No lines, one empty line and two empty lines are three different cues.
TEST(CueLines, KeepsEveryLineEmptyOnesIncluded) {
  const CueLines none;
  const CueLines oneEmpty{""};
  const CueLines twoEmpty{"", ""};
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(none.size(), 0u);
  EXPECT_FALSE(oneEmpty.empty());
  EXPECT_EQ(oneEmpty.size(), 1u);
  EXPECT_EQ(twoEmpty.size(), 2u);
  EXPECT_NE(none, oneEmpty);
  EXPECT_NE(oneEmpty, twoEmpty);
  EXPECT_EQ(std::distance(twoEmpty.begin(), twoEmpty.end()), 2);
  EXPECT_EQ(std::distance(none.begin(), none.end()), 0);
}

TEST(CueLines, GivesBackTheLinesAsTheyWereAdded) {
  const std::vector<std::string> lines{"<i>First</i>", "", "second | with a bar\r", "\xE9t\xE9"};
  CueLines added;
  for (const std::string& line : lines) {
    added.push_back(line);
  }
  EXPECT_EQ(added, CueLines(lines));
  EXPECT_EQ(added, lines);
  EXPECT_EQ(added.toVector(), lines);
  EXPECT_EQ(static_cast<std::vector<std::string>>(added), lines);
  ASSERT_EQ(added.size(), 4u);
  EXPECT_EQ(added[0], "<i>First</i>");
  EXPECT_EQ(added[1], "");
  EXPECT_EQ(added[2], "second | with a bar\r");
  EXPECT_EQ(added[3], "\xE9t\xE9");
  EXPECT_EQ(added.lineOrEmpty(4), "");
  std::vector<std::string_view> walked(added.begin(), added.end());
  EXPECT_EQ(walked, (std::vector<std::string_view>{"<i>First</i>", "", "second | with a bar\r",
                                                   "\xE9t\xE9"}));
  EXPECT_FALSE(added == (std::vector<std::string>{"<i>First</i>", ""}));
}

TEST(CueLines, CopiesAreEqualAndApart) {
  CueLines original{"first", "second"};
  CueLines copy = original;
  EXPECT_EQ(copy, original);
  copy.push_back("third");
  EXPECT_EQ(original, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(copy, (std::vector<std::string>{"first", "second", "third"}));
  original = copy;
  EXPECT_EQ(original, copy);
  const CueLines& same = original;
  original = same;
  EXPECT_EQ(original.size(), 3u);
  CueLines moved = std::move(copy);
  EXPECT_EQ(moved, original);
  original = CueLines{};
  EXPECT_TRUE(original.empty());
  EXPECT_EQ(original, CueLines());
}

// Readers gather a cue's lines in a builder; the cue must be the one the
// lines make when added one by one, empty lines and no lines included.
TEST(CueLines, ABuilderMakesTheCueTheLinesMakeOneByOne) {
  CueLinesBuilder builder;
  EXPECT_TRUE(builder.empty());
  EXPECT_EQ(builder.take(), CueLines());
  builder.push_back("");
  EXPECT_FALSE(builder.empty());
  EXPECT_EQ(builder.take(), CueLines{""});
  EXPECT_TRUE(builder.empty());

  const std::vector<std::string> lines{"<i>First</i>", "", "second | with a bar\r", ""};
  CueLines added;
  for (const std::string& line : lines) {
    added.push_back(line);
    builder.push_back(line);
  }
  const CueLines built = builder.take();
  EXPECT_EQ(built, added);
  EXPECT_EQ(built.toVector(), lines);
  EXPECT_EQ(CueLines(lines), added);
  EXPECT_EQ(CueLines(std::vector<std::string>{}), CueLines());
  // Taken, the builder starts the next cue afresh.
  builder.push_back("next");
  EXPECT_EQ(builder.take(), CueLines{"next"});
}

TEST(SubtitleEntry, NamesItsFirstTwoLinesOrNothing) {
  const SubtitleEntry three{0, 1000, {"one", "two", "three"}};
  EXPECT_EQ(three.line1(), "one");
  EXPECT_EQ(three.line2(), "two");
  const SubtitleEntry one{0, 1000, {"only"}};
  EXPECT_EQ(one.line1(), "only");
  EXPECT_EQ(one.line2(), "");
  EXPECT_EQ(SubtitleEntry{}.line1(), "");
}

}  // namespace
}  // namespace tesmora
