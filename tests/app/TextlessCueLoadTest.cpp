// A loaded cue of markup alone is left out of the list and the run, and the
// load's message says which.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/TForm1.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

TEST(TextlessCueLoad, ACueOfMarkupAloneIsLeftOutAndSaid) {
  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
  form.i_dont_have_ifo->click();
  platform.chosenFiles = {testing::WriteFile(folder.filePath("a.srt"),
                                             "1\r\n00:00:01,000 --> 00:00:02,000\r\nOne\r\n\r\n"
                                             "2\r\n00:00:03,000 --> 00:00:04,000\r\n{\\an8}\r\n\r\n"
                                             "3\r\n00:00:05,000 --> 00:00:06,000\r\nTwo\r\n")};
  form.Button2->click();
  EXPECT_EQ(platform.messages,
            (QStringList{QStringLiteral("Subtitle 2, starting at 00:00:03,000, has nothing to "
                                        "draw once its markup is read and was left out."),
                         QStringLiteral("Subtitle Style Modified/Loaded Successfully")}));
  ASSERT_EQ(form.ListBox1->count(), 2);
  EXPECT_EQ(form.ListBox1->item(1)->text(), QStringLiteral("Two"));
  EXPECT_EQ(form.LoadedCues.size(), 2u);

  platform.messages.clear();
  platform.chosenFiles = {testing::WriteFile(
      folder.filePath("b.sub"), "{1}{1}25\n{0}{25}{y:i}\n{50}{75}Text\n{100}{125}{y:b}\n")};
  form.Button2->click();
  ASSERT_FALSE(platform.messages.isEmpty());
  EXPECT_TRUE(platform.messages[0].contains(
      QStringLiteral("2 subtitles have nothing to draw once their markup is read and were left "
                     "out; the first is subtitle 1, starting at 00:00:00,000.")))
      << platform.messages[0].toStdString();
  EXPECT_EQ(form.LoadedCues.size(), 1u);
}

}  // namespace
}  // namespace tesmora
