#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/QtPlatform.h"
#include "sup/IoError.h"
#include "tests/platform/FakePlatform.h"

namespace tesmora {
namespace {

TEST(QtNameFilters, TurnsDescriptionPatternPairsIntoQtFilters) {
  EXPECT_EQ(QtNameFilters(QStringLiteral("ifo|*.ifo")), QStringList{"ifo (*.ifo *.IFO)"});
  EXPECT_EQ(QtNameFilters(QStringLiteral("*.srt;*.sub;*.txt|*.srt;*.sub;*.txt")),
            QStringList{"*.srt;*.sub;*.txt (*.srt *.SRT *.sub *.SUB *.txt *.TXT)"});
  EXPECT_EQ(QtNameFilters(QStringLiteral("Pictures|*.bmp|All|*")),
            (QStringList{"Pictures (*.bmp *.BMP)", "All (*)"}));
}

TEST(DisplayText, ShowsEachCarriageReturnAsALineBreak) {
  EXPECT_EQ(DisplayText(QStringLiteral("ATTENTION\rline two\r\rend")),
            QStringLiteral("ATTENTION\nline two\n\nend"));
  EXPECT_EQ(DisplayText(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
}

// The boxes show markup as it is: a page "<b>43</b><br>" is no bold line
// break.
TEST(QtPlatform, ShowsMessagesAsPlainText) {
  QtPlatform platform;
  QList<std::pair<Qt::TextFormat, QString>> shown;
  const auto answer = [&shown](QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&shown, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shown.append({box->textFormat(), box->text()});
      box->button(button)->click();
    });
  };
  answer(QMessageBox::Ok);
  platform.showMessage(QStringLiteral("<b>43</b><br>\rnext"));
  answer(QMessageBox::Ok);
  platform.showError(QStringLiteral("<i>lost</i>"));
  answer(QMessageBox::Yes);
  EXPECT_TRUE(platform.askYesNo(QStringLiteral("<p>Update?</p>")));
  EXPECT_EQ(shown,
            (QList<std::pair<Qt::TextFormat, QString>>{{Qt::PlainText, "<b>43</b><br>\nnext"},
                                                       {Qt::PlainText, "<i>lost</i>."},
                                                       {Qt::PlainText, "<p>Update?</p>"}}));
}

TEST(RunGuarded, ShowsThePlatformErrorWithAFullStopAndEndsTheHandler) {
  testing::FakePlatform platform;
  int steps = 0;
  RunGuarded(platform, [&] {
    ++steps;
    throw IoError("File access denied");
    ++steps;  // never reached
  });
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(platform.errors, QStringList{"File access denied."});

  RunGuarded(platform, [] { throw PlatformError(QStringLiteral("Bitmap image is not valid")); });
  EXPECT_EQ(platform.errors.last(), QStringLiteral("Bitmap image is not valid."));
}

TEST(RunGuarded, SaysSoWhenMemoryRunsOut) {
  testing::FakePlatform platform;
  RunGuarded(platform, [] { throw std::bad_alloc(); });
  EXPECT_EQ(platform.errors,
            QStringList{"There was not enough memory to finish; the action was stopped."});
}

}  // namespace
}  // namespace tesmora
