#include <gtest/gtest.h>

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/FileNames.h"

#include "core/IoError.h"
#include "platform/QtPlatform.h"
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

// Where a modal box or dialog opens, and whether it stays above that window.
struct OpenedBox {
  QWidget* parent = nullptr;
  bool staysOnTop = false;
};

// Closes the next modal box or dialog and records where it opened.
void CloseNextModal(OpenedBox& opened) {
  QTimer::singleShot(0, [&opened] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    opened = {modal->parentWidget(), modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      box->button(box->standardButtons().testFlag(QMessageBox::No) ? QMessageBox::No
                                                                   : QMessageBox::Ok)
          ->click();
    } else {
      qobject_cast<QDialog*>(modal)->reject();
    }
  });
}

// A box opened from an always-on-top window (the About window's version
// check) belongs to it and stays above it; with no window of the program
// active, boxes belong to the main window.
TEST(QtPlatform, OpensEveryBoxAndDialogOverTheActiveWindow) {
  QWidget main;
  QWidget about(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
  QtPlatform platform(&main);
  main.show();
  about.show();

  OpenedBox opened;
  // The offscreen platform does not give activation back to the box's
  // parent when the box closes, so each box starts from an active About.
  const auto check = [&](const std::function<void()>& open) {
    about.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    opened = {};
    CloseNextModal(opened);
    open();
    EXPECT_EQ(opened.parent, &about);
    EXPECT_TRUE(opened.staysOnTop);
  };
  check([&] { platform.showMessage(QStringLiteral("43")); });
  check([&] { platform.showInformation(QStringLiteral("up to date")); });
  check([&] { platform.showError(QStringLiteral("no answer")); });
  check([&] { EXPECT_FALSE(platform.askYesNo(QStringLiteral("Update?"))); });
  FileDialog dialog{QStringLiteral("Load"), QStringLiteral("ifo|*.ifo"), QString(), QString()};
  check([&] { EXPECT_FALSE(platform.runOpenDialog(dialog)); });

  EXPECT_EQ(BoxParent(nullptr, &main), &main);
  EXPECT_EQ(BoxParent(&about, &main), &about);
}

// A box of the main window comes up above the About window, which stays on
// top, and leaves the About window usable: its close button and its own
// buttons still work while the box is up.
TEST(QtPlatform, ABoxOfTheMainWindowComesAboveTheAboutWindowAndLeavesItUsable) {
  QWidget main;
  QWidget about(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
  auto* aboutButton = new QPushButton(QStringLiteral("Check"), &about);
  aboutButton->setGeometry(10, 10, 80, 25);
  QtPlatform platform(&main);
  main.show();
  about.show();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

  int aboutClicks = 0;
  QObject::connect(aboutButton, &QPushButton::clicked, [&aboutClicks] { ++aboutClicks; });
  OpenedBox opened;
  // The click comes from the window system, which holds it back from a
  // window a modal box blocks.
  QTimer::singleShot(0, [&about, aboutButton] {
    QTest::mouseClick(about.windowHandle(), Qt::LeftButton, {}, aboutButton->geometry().center());
  });
  CloseNextModal(opened);
  platform.showMessage(QStringLiteral("43"));
  EXPECT_EQ(opened.parent, &main);
  EXPECT_TRUE(opened.staysOnTop);
  EXPECT_EQ(aboutClicks, 1);

  // With no window on top, no box needs to be.
  about.hide();
  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  CloseNextModal(opened);
  platform.showMessage(QStringLiteral("43"));
  EXPECT_EQ(opened.parent, &main);
  EXPECT_FALSE(opened.staysOnTop);
}

// With no file chosen in it yet, a dialog opens in the folder it
// remembers.
TEST(QtPlatform, OpensTheDialogInItsRememberedFolder) {
  QtPlatform platform;
  QString shownFolder;
  QTimer::singleShot(0, [&shownFolder] {
    auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(chooser, nullptr);
    shownFolder = chooser->directory().absolutePath();
    chooser->reject();
  });
  FileDialog dialog{QStringLiteral("Load"), QStringLiteral("ifo|*.ifo"), QString(),
                    QDir::tempPath()};
  EXPECT_FALSE(platform.runOpenDialog(dialog));
  EXPECT_EQ(shownFolder, QDir::tempPath());
}

// A folder named in another encoding (a Latin-1 "\xE9") opens in the dialog
// and lists its files, and the file chosen there keeps the folder's bytes.
TEST(QtPlatform, OpensAndChoosesInAFolderNamedInAnotherEncoding) {
  const QTemporaryDir base;
  const QByteArray folder = QFile::encodeName(base.path()) + "/caf\xE9";
  ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
  const int descriptor = ::open((folder + "/film.srt").constData(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(descriptor, 0);
  ::close(descriptor);

  QtPlatform platform;
  QStringList listed;
  const auto choose = [&listed] {
    QTimer::singleShot(0, [&listed] {
      auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(chooser, nullptr);
      listed = chooser->directory().entryList(QDir::Files);
      chooser->selectFile(QStringLiteral("film.srt"));
      static_cast<QDialog*>(chooser)->accept();
      if (chooser->isVisible()) {  // the file was not found where the dialog looked
        chooser->reject();
      }
    });
  };
  FileDialog dialog{QStringLiteral("Load"), QStringLiteral("srt|*.srt"), QString(),
                    FileNameText(folder)};
  choose();
  ASSERT_TRUE(platform.runOpenDialog(dialog));
  EXPECT_EQ(listed, QStringList{"film.srt"});
  EXPECT_EQ(FileNameBytes(dialog.fileName), folder + "/film.srt");
  EXPECT_EQ(FileNameBytes(dialog.folder), folder);
  // Offered again, the chosen file's folder opens the same way.
  listed.clear();
  choose();
  ASSERT_TRUE(platform.runOpenDialog(dialog));
  EXPECT_EQ(listed, QStringList{"film.srt"});
  EXPECT_EQ(FileNameBytes(dialog.fileName), folder + "/film.srt");
  ::unlink((folder + "/film.srt").constData());
  ::rmdir(folder.constData());
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
